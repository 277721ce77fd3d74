// The parts of FileSystem that every file system shares.
#include "base/file_system.h"

#include <cstring>

Status FileSystem::ReadFileToBuffer(const std::string& path, BigBuffer* contents) {
  std::string bytes;
  Status read = ReadFile(path, &bytes);
  if (!read.ok()) return read;
  BigBuffer buffer(bytes.size());
  if (!bytes.empty()) std::memcpy(buffer.data(), bytes.data(), bytes.size());
  *contents = std::move(buffer);
  return Status::Ok();
}
