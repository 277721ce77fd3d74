// The messages the program shows for a damaged event.dat, in code page 936.
#include "events/event_archive.h"

namespace {

struct MessageParts {
  const char* before;
  const char* after;
};

MessageParts Parts(ArchiveError error) {
  switch (error) {
    case ArchiveError::kEndOfFile:
      // "试图越过其尾端对 %1 进行读写。"
      return {"\xca\xd4\xcd\xbc\xd4\xbd\xb9\xfd\xc6\xe4\xce\xb2\xb6\xcb\xb6\xd4 ",
              " \xbd\xf8\xd0\xd0\xb6\xc1\xd0\xb4\xa1\xa3"};
    case ArchiveError::kBadIndex:
      // "%1 格式错。"
      return {"", " \xb8\xf1\xca\xbd\xb4\xed\xa1\xa3"};
    case ArchiveError::kBadClass:
      // "%1 含有非预期的对象。"
      return {"", " \xba\xac\xd3\xd0\xb7\xc7\xd4\xa4\xc6\xda\xb5\xc4\xb6\xd4\xcf\xf3\xa1\xa3"};
    case ArchiveError::kBadSchema:
      // "%1 包含错误的模式。"
      return {"", " \xb0\xfc\xba\xac\xb4\xed\xce\xf3\xb5\xc4\xc4\xa3\xca\xbd\xa1\xa3"};
    case ArchiveError::kNone:
      break;
  }
  return {nullptr, nullptr};
}

}  // namespace

std::string ArchiveErrorMessage(ArchiveError error, const std::string& path) {
  MessageParts parts = Parts(error);
  if (parts.before == nullptr) return {};
  return parts.before + path + parts.after;
}
