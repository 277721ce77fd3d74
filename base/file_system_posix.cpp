#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "base/file_system.h"
#include "base/read_buffers.h"

namespace {

// Maps an errno value to a Status; the one place where system errors turn into messages.
Status ErrorStatus(const std::string& context, int error) {
  std::string message = context + ": " + std::strerror(error);
  if (error == ENOENT) return Status::NotFound(message);
  if (error == EACCES || error == EPERM || error == EROFS) return Status::AccessDenied(message);
  return Status::IoError(message);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Close() {
    int rc = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

class PosixHeldFile : public HeldFile {
 public:
  PosixHeldFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  Status Overwrite(std::string_view contents) override {
    std::size_t done = 0;
    while (done < contents.size()) {
      ssize_t n =
          ::pwrite(fd_.get(), contents.data() + done, contents.size() - done, static_cast<off_t>(done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return ErrorStatus(path_, errno);
      }
      done += static_cast<std::size_t>(n);
    }
    return Status::Ok();
  }

 private:
  FileDescriptor fd_;
  std::string path_;
};

class PosixFileSystem : public FileSystem {
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
    Status s = WriteAndSync(temp, contents, path);
    if (s.ok() && ::rename(temp.c_str(), path.c_str()) != 0) s = ErrorStatus(path, errno);
    if (!s.ok()) ::unlink(temp.c_str());
    return s;
  }

  Status RenameFile(const std::string& from, const std::string& to) override {
    if (FileExists(to)) return Status::IoError(to + ": already exists");
    if (::rename(from.c_str(), to.c_str()) != 0) return ErrorStatus(from, errno);
    return Status::Ok();
  }

  Status CreateNewFile(const std::string& path, std::string_view contents,
                       std::unique_ptr<HeldFile>* held) override {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
      if (errno == EEXIST) return Status::AlreadyExists(path + ": already exists");
      return ErrorStatus(path, errno);
    }
    auto file = std::make_unique<PosixHeldFile>(fd, path);
    Status written = file->Overwrite(contents);
    if (!written.ok()) {
      ::unlink(path.c_str());
      return written;
    }
    *held = std::move(file);
    return Status::Ok();
  }

  Status RemoveFile(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return ErrorStatus(path, errno);
    return Status::Ok();
  }

  bool FileExists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
  }

  Status StatFile(const std::string& path, FileStamp* stamp) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return ErrorStatus(path, errno);
    stamp->size = static_cast<std::uint64_t>(st.st_size);
    stamp->write_time = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp->file_id = static_cast<std::uint64_t>(st.st_ino);
    return Status::Ok();
  }

 private:
  // One read of the size the file has now; a file that grows meanwhile is
  // read on to its end, one that shrinks is cut where it ended.
  template <typename Buffer>
  static Status ReadWhole(const std::string& path, Buffer* contents) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return ErrorStatus(path, errno);
    struct stat st;
    std::size_t expected =
        ::fstat(fd.get(), &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    read_buffers::Reset(contents, expected + 1);  // one byte more tells the end without a second call
    std::size_t filled = 0;
    for (;;) {
      if (filled == contents->size()) read_buffers::Grow(contents, contents->size() * 2);
      ssize_t n = ::read(fd.get(), contents->data() + filled, contents->size() - filled);
      if (n < 0) {
        if (errno == EINTR) continue;
        read_buffers::Shorten(contents, 0);
        return ErrorStatus(path, errno);
      }
      if (n == 0) break;
      filled += static_cast<std::size_t>(n);
    }
    read_buffers::Shorten(contents, filled);
    return Status::Ok();
  }

  // Failures are told as failures to write `told_path`.
  static Status WriteAndSync(const std::string& path, std::string_view contents,
                             const std::string& told_path) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.valid()) return ErrorStatus(told_path, errno);
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
      ssize_t n = ::write(fd.get(), p, left);
      if (n < 0) {
        if (errno == EINTR) continue;
        return ErrorStatus(told_path, errno);
      }
      p += n;
      left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) return ErrorStatus(told_path, errno);
    if (fd.Close() != 0) return ErrorStatus(told_path, errno);
    return Status::Ok();
  }
};

}  // namespace

FileSystem& DefaultFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}
