#pragma once
// Where the update check fetches the remote configuration: the maker's web
// server by default. config.ini may point it elsewhere (a mirror, or a test
// server on 127.0.0.1) in a section of its own, apart from the user
// settings of section "common":
//   [update]
//   host=mirror.example.org
//   port=8080
#include <string>

#include "base/status.h"

class FileSystem;
class IniFile;

inline constexpr const char* kDefaultUpdateHost = "www.tallyo.example";
inline constexpr int kDefaultUpdatePort = 80;
inline constexpr const char* kRemoteConfigPath = "/software/config/QXR_Vadududi_config.xml";

struct UpdateServer {
  std::string strHost = kDefaultUpdateHost;  // a host name or IPv4 address, no port
  int nPort = kDefaultUpdatePort;
};

// "http://" + host + the remote configuration's path. The port is not part
// of the address: the fetch takes it separately.
std::string MakeRemoteConfigUrl(const UpdateServer& server);

// A page on the update server for the user's browser: "http://" + host, the
// port when it is not 80, and `path` (which starts with "/").
std::string MakeWebPageUrl(const UpdateServer& server, const std::string& path);

// Reads the override from section "update", keys "host" and "port", of
// config.ini. A missing or empty key keeps its default. A value that cannot be used
// (a host with blanks, "/", ":" or control characters; a port that is not a
// number from 1 to 65535) is ignored, the default kept, and the returned
// status says which value was wrong; the other value still applies.
Status ReadUpdateServer(const IniFile& config, UpdateServer& server);

// The update server configured in the config.ini at `config_path`: the
// override where it is usable, the maker's server otherwise. A missing file
// is no problem; an unreadable file or an unusable value is reported in
// `problem` when given (the windowed program has no place to show it and
// goes on with the defaults).
UpdateServer ConfiguredUpdateServer(FileSystem& fs, const std::string& config_path,
                                    Status* problem = nullptr);
