// tallyo-cli settings [--set KEY=VALUE ...]: changes config.ini's settings and
// shows the seven lines of section "common" as they stand in the file.
#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/cp936.h"
#include "base/ini_file.h"
#include "cli/cli_context.h"
#include "settings/path_helper.h"
#include "settings/settings.h"

namespace {

constexpr int kBadArguments = 2;
constexpr int kFileError = 1;

// The field a key names, or nullptr; keys compare without case, as in the file.
int* NumberField(Settings& s, const std::string& key) {
  if (key == "ntiptype") return &s.nTipType;
  if (key == "bplaysound") return &s.bPlaySound;
  if (key == "nsoundtype") return &s.nSoundType;
  if (key == "bautorun") return &s.bAutoRun;
  if (key == "btray") return &s.bTray;
  return nullptr;
}

std::string* TextField(Settings& s, const std::string& key) {
  if (key == "strmark") return &s.strMark;
  if (key == "strsoundfilename") return &s.strSoundFileName;
  return nullptr;
}

// A whole decimal number that fits 32 bits, with an optional sign and nothing else.
std::optional<int> ParseWholeNumber(const std::string& text) {
  std::string_view digits = text;
  // from_chars takes "-" but not "+"; "+-5" must still fail.
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// For the note, a typed "\n" or a real line break (LF, CR LF or CR) becomes
// the CR LF line break the settings dialog's note holds.
std::string NoteLineBreaks(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\\' && i + 1 < utf8.size() && utf8[i + 1] == 'n') {
      out += "\r\n";
      ++i;
    } else if (utf8[i] == '\r') {
      out += "\r\n";
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else if (utf8[i] == '\n') {
      out += "\r\n";
    } else {
      out += utf8[i];
    }
  }
  return out;
}

// Applies one KEY=VALUE to `s`; prints the reason and returns false when it cannot.
bool ApplyAssignment(Settings& s, const std::string& assignment) {
  std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    std::cerr << "tallyo-cli: --set expects KEY=VALUE, not \"" << assignment << "\"\n";
    return false;
  }
  const std::string name = assignment.substr(0, equals);
  const std::string value = assignment.substr(equals + 1);
  const std::string key = cp936::AsciiLower(name);
  if (int* number = NumberField(s, key)) {
    std::optional<int> parsed = ParseWholeNumber(value);
    if (!parsed) {
      std::cerr << "tallyo-cli: " << name << " takes a whole number from -2147483648 to 2147483647, not \""
                << value << "\"\n";
      return false;
    }
    *number = *parsed;
    return true;
  }
  if (std::string* text = TextField(s, key)) {
    std::optional<std::string> converted =
        ArgumentToCp936(key == "strmark" ? NoteLineBreaks(value) : value, name.c_str());
    if (!converted) return false;
    *text = *converted;
    return true;
  }
  std::cerr << "tallyo-cli: unknown setting \"" << name << "\"; the settings are";
  for (const char* known : kSettingsKeys) std::cerr << ' ' << known;
  std::cerr << "\n";
  return false;
}

int RunSettings(const std::vector<std::string>& assignments) {
  Settings settings;
  settings.LoadSettings();
  // Every change is checked before anything is written.
  for (const std::string& assignment : assignments) {
    if (!ApplyAssignment(settings, assignment)) return kBadArguments;
  }
  if (Status status = settings.SaveSettings(); !status.ok()) {
    std::cerr << "tallyo-cli: the settings were not saved: ";
    PrintCp936(std::cerr, status.message());
    std::cerr << "\n";
    return kFileError;
  }
  IniFile file = IniFile::Load(DefaultFileSystem(), PathHelper().MakeAppPath(kConfigFileName));
  for (const char* key : kSettingsKeys) {
    if (std::optional<std::string> line = file.FindLine(kSettingsSection, key)) {
      PrintCp936(std::cout, *line);
      std::cout << "\n";
    }
  }
  return 0;
}

}  // namespace

void AddSettingsCommand(CLI::App& app, CliContext& ctx) {
  auto assignments = std::make_shared<std::vector<std::string>>();
  CLI::App* command = app.add_subcommand(
      "settings", "change settings in config.ini (if --set is given), save, and show the seven settings");
  command->add_option("--set", *assignments,
                      "KEY=VALUE, KEY one of nTipType strMark bPlaySound nSoundType strSoundFileName "
                      "bAutoRun bTray; in strMark a \\n is a line break");
  command->callback([&ctx, assignments] { ctx.exit_code = RunSettings(*assignments); });
}
