#include "cli/testing/cli_test_folder.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Single-quotes an argument for the shell.
std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) out += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void CliTestFolder::SetUp() {
  char pattern[] = "/tmp/tallyo-cli-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  dir_ = pattern;
}

std::string CliTestFolder::CliPath() { return TALLYO_CLI_PATH; }

void CliTestFolder::TearDown() { fs::remove_all(dir_); }

CliRun CliTestFolder::RunCliIn(const fs::path& folder, const std::vector<std::string>& args) {
  fs::path err_file = dir_.string() + ".stderr";
  std::string command = Quote(TALLYO_CLI_PATH) + " --dir " + Quote(folder.string());
  for (const std::string& arg : args) command.append(" ").append(Quote(arg));
  command += " 2>" + Quote(err_file.string());
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  EXPECT_NE(pipe, nullptr);
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFileBytes(err_file);
  fs::remove(err_file);
  return run;
}
