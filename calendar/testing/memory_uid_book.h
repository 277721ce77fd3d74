#pragma once
// The UIDs an import keeps, in memory: for tests, benchmarks and the fuzz
// target, which import into lists without a folder's files.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/import_steps.h"

class MemoryUidBook : public ImportUidBook {
 public:
  std::optional<EventKey> Find(std::string_view uid) const override {
    auto it = keys.find(std::string(uid));
    return it == keys.end() ? std::nullopt : std::optional<EventKey>(it->second);
  }
  std::string ImportedFingerprint(EventKey key) const override {
    auto it = fingerprints.find(key);
    return it == fingerprints.end() ? std::string() : it->second;
  }
  void Keep(EventKey key, const std::string& uid, const std::string& fingerprint) override {
    keys[uid] = key;
    fingerprints[key] = fingerprint;
  }

  std::map<std::string, EventKey> keys;
  std::map<EventKey, std::string> fingerprints;
};
