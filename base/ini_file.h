#pragma once
// An INI document read and written by our own code with the semantics of the
// Windows profile functions, in code page 936 bytes whatever the system's
// code page:
//  - lookup: section and key names compare case-insensitively (ASCII letters);
//    the first matching key of the first matching section wins; blanks around
//    names and values are trimmed; a value in matching double or single
//    quotes loses them; values are cut to kMaxValueBytes;
//  - update: a key's line is replaced in place, a missing key is appended to
//    the end of its section, a missing section to the end of the file; every
//    other line (sections, keys, comments, blank lines) is kept as it was;
//    lines end in CR LF;
//  - a UTF-8 byte order mark at the start of the file is kept and skipped;
//  - NUL bytes before a section header (left by a crash while the file was
//    written) are passed over, so the section is not lost.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"

class IniFile {
 public:
  // A value read back is at most this long (the profile functions read into
  // a 5000-byte buffer). The cut never splits a double-byte character.
  static constexpr std::size_t kMaxValueBytes = 4999;

  IniFile() = default;
  // Parses the bytes of a file; any bytes are accepted.
  explicit IniFile(std::string_view bytes);

  // Reads the file at `path`. A missing or unreadable file gives an empty
  // document, as the profile functions treat it. When `read_status` is given
  // it receives the read error of a file that exists but cannot be read (a
  // missing file counts as ok), so that a caller about to rewrite the file
  // can refuse rather than overwrite content it never saw.
  static IniFile Load(FileSystem& fs, const std::string& path, Status* read_status = nullptr);

  // Writes the document to `path` in one step (temporary file, flush,
  // rename). On failure the old file is left intact and the error returned.
  Status Save(FileSystem& fs, const std::string& path) const;

  // The value of `key` in `section`, or nullopt when either is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // The whole line that holds `key` in `section`, as it stands in the file
  // (without its line end), or nullopt when either is missing.
  std::optional<std::string> FindLine(std::string_view section, std::string_view key) const;

  // Find(section, key), or `default_value` when it is missing.
  std::string GetString(std::string_view section, std::string_view key, std::string_view default_value) const;

  // The value by atoi rules (see AtoiClamped in base/atoi_clamped.h); `default_value` when missing.
  int GetInt(std::string_view section, std::string_view key, int default_value) const;

  // Sets `key` in `section` to `value`.
  // REQUIRES: `section` holds no "]", `key` no "=", neither a line break.
  // A CR or LF inside the value would
  // break the line structure of the file (the rest of the value would be
  // lost or read as a key of its own), so each becomes a blank. A value with
  // blanks at either end, or enclosed in matching quotes, is written inside
  // double quotes so that a reader that trims and unquotes (this one, or the
  // Windows profile functions) gets it back exactly.
  void SetString(std::string_view section, std::string_view key, std::string_view value);

  // The whole file as bytes, every line ended by CR LF.
  std::string ToBytes() const;

  // Every section in file order (a name written twice comes twice) with its
  // keys in order, read in one pass: for a file of many sections, where a
  // Find for each would go over the file again and again. The texts are
  // views into this document: valid until it changes.
  struct KeyValue {
    std::string_view key;    // trimmed, ASCII letters lowered
    std::string_view value;  // as Find reads it
  };
  struct Section {
    std::string_view name;  // trimmed, ASCII letters lowered
    std::vector<KeyValue> keys;
  };
  std::vector<Section> Sections() const;

  // Removes the line of `key` in `section` (the first of each); false when there is none.
  bool RemoveKey(std::string_view section, std::string_view key);

  // Gives the first section named `section` the name `new_name`, its other
  // lines kept; false when there is none. REQUIRES: `new_name` as SetString's.
  bool RenameSection(std::string_view section, std::string_view new_name);

  // The numbers (from 1) of the lines that are no section header, key=value,
  // comment or blank line: a reader passes over them, the file keeps them.
  std::vector<std::size_t> OtherLines() const;

  // Removes every section whose name (trimmed, ASCII letters lowered) `drop`
  // picks: its header and every line up to the next header.
  void RemoveSections(const std::function<bool(std::string_view name)>& drop);

 private:
  enum class LineKind { kBlank, kComment, kSection, kKey, kOther };
  struct Line {
    std::string text;  // the line's bytes without its line end
    LineKind kind = LineKind::kOther;
    std::string name;                            // section or key name, trimmed, ASCII letters lowered
    std::size_t value_begin = 0, value_end = 0;  // trimmed value within text
  };

  static Line ClassifyLine(std::string text);
  // The value of a key line as Find gives it: unquoted and cut.
  static std::string_view ValueOf(const Line& line);
  // Index of the header line of the first matching section, or npos.
  std::size_t FindSection(std::string_view lowered_section) const;
  // Index of the first matching key line after section header `header`, or npos.
  std::size_t FindKey(std::size_t header, std::string_view lowered_key) const;

  bool has_bom_ = false;
  std::vector<Line> lines_;
};
