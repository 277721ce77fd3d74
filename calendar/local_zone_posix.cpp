// This PC's zone natively: TZ, else the zone file /etc/localtime links to,
// else the name Debian keeps in /etc/timezone (where /etc/localtime is a copy).
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "calendar/local_zone.h"

std::optional<LocalZone> ThisPcZone() {
  std::string name;
  if (const char* tz = std::getenv("TZ"); tz != nullptr && *tz != '\0') {
    name = IanaNameOfTzVariable(tz);
  } else {
    char target[512];
    const ssize_t size = readlink("/etc/localtime", target, sizeof target - 1);
    if (size > 0) name = IanaNameOfTzVariable(std::string_view(target, static_cast<std::size_t>(size)));
    if (name.empty()) {
      std::ifstream timezone("/etc/timezone");
      std::string line;
      if (std::getline(timezone, line)) name = IanaNameOfTzVariable(line);
    }
  }
  if (name.empty() || name == "UTC") return std::nullopt;
  return ZoneOfIanaName(name);
}
