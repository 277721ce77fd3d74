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

// Reads the override from section "update", keys "host" and "port", of
// config.ini. A missing or empty key keeps its default. A value that cannot be used
// (a host with blanks, "/", ":" or control characters; a port that is not a
// number from 1 to 65535) is ignored, the default kept, and the returned
// status says which value was wrong; the other value still applies.
Status ReadUpdateServer(const IniFile& config, UpdateServer& server);
