#pragma once
// A small result that says ok or what failed, passed across module edges
// instead of exceptions (the store, the settings file, the HTTP fetch).
#include <string>
#include <utility>

class Status {
 public:
  enum class Code {
    kOk,
    kNotFound,
    kIoError,
    kAccessDenied,
    kCorrupt,
    kInvalidArgument,
    kAlreadyExists,
    kBusy
  };

  Status() = default;
  static Status Ok() { return Status(); }
  static Status NotFound(std::string message) { return Status(Code::kNotFound, std::move(message)); }
  static Status IoError(std::string message) { return Status(Code::kIoError, std::move(message)); }
  // The system refused to write or read: a read-only folder or file, missing rights.
  static Status AccessDenied(std::string message) { return Status(Code::kAccessDenied, std::move(message)); }
  static Status Corrupt(std::string message) { return Status(Code::kCorrupt, std::move(message)); }
  static Status InvalidArgument(std::string message) {
    return Status(Code::kInvalidArgument, std::move(message));
  }

  // A file that must be new exists already.
  static Status AlreadyExists(std::string message) {
    return Status(Code::kAlreadyExists, std::move(message));
  }
  // Another program holds what was asked for (the folder's lock) and did not let go in time.
  static Status Busy(std::string message) { return Status(Code::kBusy, std::move(message)); }

  bool ok() const { return code_ == Code::kOk; }
  bool IsNotFound() const { return code_ == Code::kNotFound; }
  Code code() const { return code_; }
  // Code page 936 text meant for the user or a log line.
  const std::string& message() const { return message_; }

 private:
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}
  Code code_ = Code::kOk;
  std::string message_;
};
