#pragma once
// Runs a test in a given time zone. Natively the C library takes a new TZ at
// once; the Windows time-zone API (under Wine) takes the zone the process
// started with, so there a test for another zone is skipped unless ctest
// started the process in that zone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "base/local_time.h"

class ZoneScope {
 public:
  explicit ZoneScope(const std::string& zone) {
    const char* old = std::getenv("TZ");
    if (old != nullptr) old_ = old;
#ifdef _WIN32
    active_ = old_ == zone;
#else
    setenv("TZ", zone.c_str(), 1);
    tzset();
    active_ = true;
#endif
  }
  ~ZoneScope() {
#ifndef _WIN32
    if (old_) {
      setenv("TZ", old_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
#endif
  }
  ZoneScope(const ZoneScope&) = delete;
  ZoneScope& operator=(const ZoneScope&) = delete;

  // False: the process cannot take this zone; the caller skips its test.
  bool active() const { return active_; }

 private:
  std::optional<std::string> old_;
  bool active_ = false;
};

// At the top of a test: `TALLYO_IN_ZONE("America/New_York");`
#define TALLYO_IN_ZONE(zone)   \
  ZoneScope zone_scope_(zone); \
  if (!zone_scope_.active()) GTEST_SKIP() << "the process runs in another time zone"
