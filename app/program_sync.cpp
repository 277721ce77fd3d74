#include "app/program_sync.h"

#include "base/text_convert.h"
#include "repeat/repeat_store.h"

namespace {

// "没有保存这个服务器的密码，请在“日历同步”里填写"
constexpr char kNoPassword[] =
    "\xC3\xBB\xD3\xD0\xB1\xA3\xB4\xE6\xD5\xE2\xB8\xF6\xB7\xFE\xCE\xF1\xC6\xF7\xB5\xC4\xC3\xDC\xC2\xEB\xA3\xAC"
    "\xC7\xEB\xD4\xDA\xA1\xB0\xC8\xD5\xC0\xFA\xCD\xAC\xB2\xBD\xA1\xB1\xC0\xEF\xCC\xEE\xD0\xB4";

}  // namespace

ProgramSync::ProgramSync(FileSystem& file_system, std::string event_file_path, PasswordSource password,
                         TransportMaker make_transport)
    : password_source_(std::move(password)),
      make_transport_(std::move(make_transport)),
      events_(file_system, event_file_path),
      repeat_store_(file_system, RepeatFilePathBeside(event_file_path)),
      folder_(file_system, events_, rules_, repeat_store_) {}

ProgramSync::~ProgramSync() { WipeSecret(transport_password_); }

HttpTransport& ProgramSync::TransportFor(const SyncSettings& settings, const std::string& password) {
  const std::string user = cp936::ToUtf8(settings.user);
  if (transport_ == nullptr || user != transport_user_ || password != transport_password_) {
    transport_.reset();  // the old one overwrites its copy of the old password
    HttpTransportOptions options;
    options.user = user;
    options.password = password;
    transport_ = make_transport_(std::move(options));
    transport_user_ = user;
    WipeSecret(transport_password_);
    transport_password_ = password;
  }
  return *transport_;
}

SyncReport ProgramSync::RunPass(const SyncSettings& settings) {
  std::optional<std::string> password = password_source_(settings.address);
  if (!password) {
    SyncReport report;
    report.error = CalDavErrorKind::kAuth;
    report.needs_user = true;
    report.message = kNoPassword;
    return report;
  }
  HttpTransport& transport = TransportFor(settings, *password);
  WipeSecret(*password);
  return RunSyncPass(folder_, transport, settings, SyncPassOptions{});
}
