#include "repeat/keyed_sections.h"

#include <charconv>
#include <cstdio>

namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number* value, int base = 10) {
  if (text.empty() || text[0] == '+') return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value, base);
  return error == std::errc() && end == text.data() + text.size();
}

std::string HashText(std::uint32_t hash) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(hash));
  return text;
}

}  // namespace

std::uint32_t TitleHash(std::string_view title) {
  // FNV-1a: short, stable across builds and platforms.
  std::uint32_t hash = 2166136261u;
  for (char c : title) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

std::optional<Time32> CreationTimeOfSection(std::string_view name) {
  std::string_view digits = name.substr(!name.empty() && name[0] == '-' ? 1 : 0);
  if (digits.empty() || digits.size() > 10 || digits[0] == '+') return std::nullopt;
  Time32 value = 0;
  auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
  if (error != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return value;
}

std::optional<RuleKey> RuleKeyOfSection(std::string_view name) {
  const std::size_t dash = name.find('-', 1);  // a creation time may be negative
  std::optional<Time32> created = CreationTimeOfSection(name.substr(0, dash));
  if (!created) return std::nullopt;
  if (dash == std::string_view::npos) return RuleKey{*created, 0};
  std::uint32_t place = 0;
  std::string_view digits = name.substr(dash + 1);
  if (digits.size() > 10 || !ParseNumber(digits, &place) || place == 0 || digits[0] == '0')
    return std::nullopt;
  return RuleKey{*created, place};
}

std::string SectionName(RuleKey key) {
  std::string name = std::to_string(key.created);
  if (key.place != 0) name.append("-").append(std::to_string(key.place));
  return name;
}

namespace keyed_sections {

std::optional<RuleFingerprint> ReadFingerprint(const IniFile::Section& section) {
  const std::string_view *events = nullptr, *title = nullptr;
  for (const IniFile::KeyValue& kv : section.keys) {
    // The first key of a name counts, as with every INI lookup.
    if (kv.key == kEventsKey && events == nullptr) events = &kv.value;
    if (kv.key == kTitleKey && title == nullptr) title = &kv.value;
  }
  RuleFingerprint fingerprint;
  if (events == nullptr || title == nullptr || title->size() != 8 ||
      !ParseNumber(*events, &fingerprint.events) || !ParseNumber(*title, &fingerprint.title_hash, 16))
    return std::nullopt;
  return fingerprint;
}

void WriteFingerprint(IniFile& document, std::string_view section,
                      const std::optional<RuleFingerprint>& fingerprint) {
  if (fingerprint) {
    document.SetString(section, kEventsKey, std::to_string(fingerprint->events));
    document.SetString(section, kTitleKey, HashText(fingerprint->title_hash));
  } else {
    document.RemoveKey(section, kEventsKey);
    document.RemoveKey(section, kTitleKey);
  }
}

}  // namespace keyed_sections
