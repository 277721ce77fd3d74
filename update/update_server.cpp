#include "update/update_server.h"

#include <string_view>

#include "base/ini_file.h"

namespace {

constexpr std::size_t kMaxHostBytes = 253;

bool IsUsableHost(std::string_view host) {
  if (host.empty() || host.size() > kMaxHostBytes) return false;
  for (char c : host) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '/' || c == '\\' || c == ':' || c == '@') return false;
  }
  return true;
}

// Digits only (the profile reader has trimmed the blanks), 1 to 65535.
bool ParsePort(std::string_view text, int& port) {
  if (text.empty() || text.size() > 5) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return false;
  port = value;
  return true;
}

}  // namespace

std::string MakeRemoteConfigUrl(const UpdateServer& server) {
  return "http://" + server.strHost + kRemoteConfigPath;
}

std::string MakeWebPageUrl(const UpdateServer& server, const std::string& path) {
  std::string url = "http://";
  url.append(server.strHost);
  if (server.nPort != kDefaultUpdatePort) {
    url.push_back(':');
    url.append(std::to_string(server.nPort));
  }
  url.append(path);
  return url;
}

Status ReadUpdateServer(const IniFile& config, UpdateServer& server) {
  std::string problems;
  // An empty value counts as not set.
  std::optional<std::string> host = config.Find("update", "host");
  if (host && !host->empty()) {
    if (IsUsableHost(*host)) {
      server.strHost = *host;
    } else {
      problems += "config.ini [update] host=" + *host + " is not a host name; using " + server.strHost;
    }
  }
  std::optional<std::string> port = config.Find("update", "port");
  if (port && !port->empty()) {
    if (!ParsePort(*port, server.nPort)) {
      if (!problems.empty()) problems += "; ";
      problems += "config.ini [update] port=" + *port + " is not a port from 1 to 65535; using " +
                  std::to_string(server.nPort);
    }
  }
  return problems.empty() ? Status::Ok() : Status::InvalidArgument(problems);
}

UpdateServer ConfiguredUpdateServer(FileSystem& fs, const std::string& config_path, Status* problem) {
  Status read_status;
  IniFile config = IniFile::Load(fs, config_path, &read_status);
  UpdateServer server;
  Status status = ReadUpdateServer(config, server);
  if (problem) *problem = read_status.ok() ? status : read_status;
  return server;
}
