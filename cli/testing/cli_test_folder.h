#pragma once
// For the end-to-end tests of tallyo-cli: a fresh temporary folder, and a run
// of the built tool on it with its output, error output and exit code.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

struct CliRun {
  int exit_code = -1;
  std::string out, err;
};

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// A test fixture owning a fresh folder under /tmp, removed afterwards.
class CliTestFolder : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs `tallyo-cli --dir <folder> <args...>`.
  CliRun RunCli(const std::vector<std::string>& args) { return RunCliIn(dir_, args); }
  // The same with another folder given to --dir.
  CliRun RunCliIn(const std::filesystem::path& folder, const std::vector<std::string>& args);

  // The built tool, for a test that starts it from a script of its own.
  static std::string CliPath();

  std::filesystem::path dir_;
};
