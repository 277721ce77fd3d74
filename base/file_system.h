#pragma once
// File access behind a small interface, so the stores can be tested with
// in-memory fakes and injected failures. Paths are code page 936 text.
#include <string>
#include <string_view>

#include "base/status.h"

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads the whole file into *contents. NotFound when it does not exist.
  virtual Status ReadFile(const std::string& path, std::string* contents) = 0;

  // Replaces the file's content in one step: writes a temporary file beside
  // it, flushes it to disk and renames it over the old one. On failure the
  // old file (if any) is left exactly as it was.
  virtual Status ReplaceFile(const std::string& path, std::string_view contents) = 0;

  // Renames `from` to `to`; fails if `to` exists.
  virtual Status RenameFile(const std::string& from, const std::string& to) = 0;

  virtual bool FileExists(const std::string& path) = 0;
};

// The real file system of this platform.
FileSystem& DefaultFileSystem();
