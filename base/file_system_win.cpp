#include <windows.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "base/file_system.h"
#include "base/read_buffers.h"
#include "base/text_convert.h"

namespace {

std::wstring Wide(const std::string& path) {
  std::u16string w = cp936::ToUtf16(path);
  return std::wstring(w.begin(), w.end());
}

// The reasons a save or load meets most often, in the program's language
// whatever the system's, code page 936.
const char* KnownReason(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return "\xcf\xb5\xcd\xb3\xd5\xd2\xb2\xbb\xb5\xbd\xd6\xb8\xb6\xa8\xb5\xc4\xce\xc4\xbc\xfe\xa1\xa3";  // 系统找不到指定的文件。
    case ERROR_PATH_NOT_FOUND:
      return "\xcf\xb5\xcd\xb3\xd5\xd2\xb2\xbb\xb5\xbd\xd6\xb8\xb6\xa8\xb5\xc4\xc2\xb7\xbe\xb6\xa1\xa3";  // 系统找不到指定的路径。
    case ERROR_ACCESS_DENIED:
      return "\xbe\xdc\xbe\xf8\xb7\xc3\xce\xca\xa1\xa3";  // 拒绝访问。
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      // 另一个程序正在使用此文件，进程无法访问。
      return "\xc1\xed\xd2\xbb\xb8\xf6\xb3\xcc\xd0\xf2\xd5\xfd\xd4\xda\xca\xb9\xd3\xc3\xb4\xcb\xce\xc4\xbc"
             "\xfe"
             "\xa3\xac\xbd\xf8\xb3\xcc\xce\xde\xb7\xa8\xb7\xc3\xce\xca\xa1\xa3";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "\xb4\xc5\xc5\xcc\xbf\xd5\xbc\xe4\xb2\xbb\xd7\xe3\xa1\xa3";  // 磁盘空间不足。
    case ERROR_WRITE_PROTECT:
      return "\xbd\xe9\xd6\xca\xd0\xb4\xc8\xeb\xb1\xa3\xbb\xa4\xa1\xa3";  // 介质写入保护。
    default:
      return nullptr;
  }
}

// The system's own text for `error` in `language`, or empty.
std::string SystemReason(DWORD error, DWORD language) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (text == nullptr) return {};
  std::u16string w(reinterpret_cast<char16_t*>(text));
  LocalFree(text);
  while (!w.empty() && (w.back() == u'\n' || w.back() == u'\r' || w.back() == u' ')) w.pop_back();
  return cp936::FromUtf16(w);
}

// Maps a Win32 error code to a Status; the one place where system errors
// turn into messages: "<path>: <reason>", the reason in Chinese where the
// program knows it or the system has it, else in the user's language.
Status ErrorStatus(const std::string& context, DWORD error) {
  std::string reason;
  if (const char* known = KnownReason(error)) reason = known;
  if (reason.empty()) reason = SystemReason(error, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  if (reason.empty()) reason = SystemReason(error, 0);
  if (reason.empty()) reason = "error " + std::to_string(error);
  std::string message = context + ": " + reason;
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Status::NotFound(message);
  if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) return Status::AccessDenied(message);
  return Status::IoError(message);
}

class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE h) : h_(h) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    bool ok = !valid() || CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool IsTransient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

std::uint64_t Join(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

std::int64_t TimeValue(const FILETIME& time) {
  return static_cast<std::int64_t>(Join(time.dwHighDateTime, time.dwLowDateTime));
}

class WinHeldFile : public HeldFile {
 public:
  WinHeldFile(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
  Status Overwrite(std::string_view contents) override {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) return ErrorStatus(path_, GetLastError());
    std::size_t done = 0;
    while (done < contents.size()) {
      DWORD written = 0;
      if (!WriteFile(file_.get(), contents.data() + done, static_cast<DWORD>(contents.size() - done),
                     &written, nullptr))
        return ErrorStatus(path_, GetLastError());
      done += written;
    }
    return Status::Ok();
  }

 private:
  ScopedHandle file_;
  std::string path_;
};

class WinFileSystem : public FileSystem {
 public:
  Status ReadFile(const std::string& path, std::string* contents) override {
    return ReadWhole(path, contents);
  }

  Status ReadFileToBuffer(const std::string& path, BigBuffer* contents) override {
    return ReadWhole(path, contents);
  }

  Status ReplaceFile(const std::string& path, std::string_view contents) override {
    // The temporary file is a detail: a failure is told with the file the
    // user knows.
    std::string temp = path + ".tmp";
    Status s = WriteAndFlush(temp, contents, path);
    if (s.ok()) s = MoveOver(temp, path);
    if (!s.ok()) DeleteFileW(Wide(temp).c_str());
    return s;
  }

  Status RenameFile(const std::string& from, const std::string& to) override {
    if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH))
      return ErrorStatus(from, GetLastError());
    return Status::Ok();
  }

  Status CreateNewFile(const std::string& path, std::string_view contents,
                       std::unique_ptr<HeldFile>* held) override {
    // Shared for every use, so that others may read it, and rename or
    // delete it when its holder was killed.
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
        return Status::AlreadyExists(path + ": already exists");
      return ErrorStatus(path, error);
    }
    auto created = std::make_unique<WinHeldFile>(file, path);
    Status written = created->Overwrite(contents);
    if (!written.ok()) {
      created.reset();
      DeleteFileW(Wide(path).c_str());
      return written;
    }
    *held = std::move(created);
    return Status::Ok();
  }

  Status RemoveFile(const std::string& path) override {
    if (!DeleteFileW(Wide(path).c_str())) return ErrorStatus(path, GetLastError());
    return Status::Ok();
  }

  bool FileExists(const std::string& path) override {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // The look once a second. Size and write time are asked for by name,
  // without a handle: Wine answers that without a round trip to its server.
  // The file index takes a handle, and under Wine a question about the
  // volume: a dozen round trips, more than the rest of the program's second.
  // The index only tells apart files written within one tick of the file
  // system's clock (2 s on FAT), which may share size and write time; once
  // the clock is well past a file's write time, a later write carries a
  // later time, and the index learnt then still holds.
  Status StatFile(const std::string& path, FileStamp* stamp) override {
    const std::wstring wide = Wide(path);
    WIN32_FILE_ATTRIBUTE_DATA quick{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &quick)) {
      return ErrorStatus(path, GetLastError());
    }
    {
      std::lock_guard<std::mutex> lock(settled_mutex_);
      for (const Settled& settled : settled_) {
        if (settled.path == path && settled.stamp.size == Join(quick.nFileSizeHigh, quick.nFileSizeLow) &&
            settled.stamp.write_time == TimeValue(quick.ftLastWriteTime)) {
          *stamp = settled.stamp;
          return Status::Ok();
        }
      }
    }
    // Opened for its attributes only, sharing everything, so no writer is held up.
    ScopedHandle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return ErrorStatus(path, GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) return ErrorStatus(path, GetLastError());
    stamp->size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    stamp->write_time = TimeValue(info.ftLastWriteTime);
    stamp->file_id = Join(info.nFileIndexHigh, info.nFileIndexLow);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const bool settled = TimeValue(now) - stamp->write_time > kSettledAfter;
    std::lock_guard<std::mutex> lock(settled_mutex_);
    std::erase_if(settled_, [&path](const Settled& known) { return known.path == path; });
    if (settled) {
      // A few files are looked at every second (the events, their rules).
      if (settled_.size() == kSettledFiles) settled_.erase(settled_.begin());
      settled_.push_back(Settled{path, *stamp});
    }
    return Status::Ok();
  }

 private:
  // One read of the size the file has now; a file that grows meanwhile is
  // read on to its end, one that shrinks is cut where it ended.
  template <typename Buffer>
  static Status ReadWhole(const std::string& path, Buffer* contents) {
    // Other readers (a second copy of the program, tallyo-cli) may read at
    // the same time, a writer may rename its new file over this one, and the
    // holder of the folder's lock keeps writing to that file.
    ScopedHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return ErrorStatus(path, GetLastError());
    LARGE_INTEGER size{};
    std::size_t expected =
        GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 ? static_cast<std::size_t>(size.QuadPart) : 0;
    read_buffers::Reset(contents, expected + 1);  // one byte more tells the end without a second call
    std::size_t filled = 0;
    for (;;) {
      if (filled == contents->size()) read_buffers::Grow(contents, contents->size() * 2);
      std::size_t room = contents->size() - filled;
      DWORD chunk = room > (1u << 30) ? (1u << 30) : static_cast<DWORD>(room);
      DWORD n = 0;
      if (!::ReadFile(file.get(), contents->data() + filled, chunk, &n, nullptr)) {
        DWORD error = GetLastError();
        read_buffers::Shorten(contents, 0);
        return ErrorStatus(path, error);
      }
      if (n == 0) break;
      filled += n;
    }
    read_buffers::Shorten(contents, filled);
    return Status::Ok();
  }

  // Failures are told as failures to write `told_path`.
  static Status WriteAndFlush(const std::string& path, std::string_view contents,
                              const std::string& told_path) {
    ScopedHandle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, /*dwShareMode=*/0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return ErrorStatus(told_path, GetLastError());
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
      DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
      DWORD written = 0;
      if (!WriteFile(file.get(), p, chunk, &written, nullptr)) return ErrorStatus(told_path, GetLastError());
      p += written;
      left -= written;
    }
    if (!FlushFileBuffers(file.get())) return ErrorStatus(told_path, GetLastError());
    if (!file.Close()) return ErrorStatus(told_path, GetLastError());
    return Status::Ok();
  }

  // A virus scanner or indexer may hold the old file for a moment: retry briefly.
  static Status MoveOver(const std::string& from, const std::string& to) {
    DWORD error = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
      if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Status::Ok();
      error = GetLastError();
      if (!IsTransient(error)) break;
      Sleep(50);
    }
    return ErrorStatus(to, error);
  }

  // 5 s in the file times' 100 ns: beyond FAT's 2 s and a small clock step.
  static constexpr std::int64_t kSettledAfter = 50'000'000;
  // The last files whose write time was settled when their index was read.
  struct Settled {
    std::string path;
    FileStamp stamp;
  };
  static constexpr std::size_t kSettledFiles = 4;
  std::mutex settled_mutex_;
  std::vector<Settled> settled_;
};

}  // namespace

FileSystem& DefaultFileSystem() {
  static WinFileSystem file_system;
  return file_system;
}
