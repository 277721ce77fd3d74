#pragma once
// The pass the program's sync worker runs, on the worker's thread: its own
// reading of the events' folder (the window's list belongs to the window,
// which takes in what a pass wrote at its next one-second look), and one
// transport for the program's life, made anew only when the server, the
// user or the password changes (a new connection costs a request more).
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/file_system.h"
#include "caldav/http_transport.h"
#include "events/event_folder.h"
#include "events/event_list.h"
#include "repeat/repeat_rules.h"
#include "repeat/repeat_store.h"
#include "sync/sync_pass.h"
#include "sync/sync_settings.h"

class ProgramSync {
 public:
  // The password kept for a server address, UTF-8 (sync/sync_password.h).
  using PasswordSource = std::function<std::optional<std::string>(const std::string& address)>;
  using TransportMaker = std::function<std::unique_ptr<HttpTransport>(HttpTransportOptions)>;

  ProgramSync(FileSystem& file_system, std::string event_file_path, PasswordSource password,
              TransportMaker make_transport = MakeHttpTransport);
  ~ProgramSync();
  ProgramSync(const ProgramSync&) = delete;
  ProgramSync& operator=(const ProgramSync&) = delete;

  SyncReport RunPass(const SyncSettings& settings);

 private:
  // The transport for these settings and password, the one kept when they
  // are what it was made for.
  HttpTransport& TransportFor(const SyncSettings& settings, const std::string& password);

  PasswordSource password_source_;
  TransportMaker make_transport_;
  EventList events_;
  RepeatRules rules_;
  RepeatStore repeat_store_;
  EventFolder folder_;
  std::unique_ptr<HttpTransport> transport_;
  std::string transport_user_;
  std::string transport_password_;  // wiped with the transport
};
