#include "base/ini_file.h"

#include <algorithm>
#include <initializer_list>

#include "base/atoi_clamped.h"
#include "base/cp936.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t npos = std::string::npos;

// The blanks the profile functions trim around names and values (0x1A is the
// old end-of-file mark some editors leave behind). None of them can be the
// trail byte of a double-byte character, so trimming byte-wise is safe.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A crash while a file was written may leave NUL bytes where a line began.
std::string_view SkipNuls(std::string_view text) {
  while (!text.empty() && text.front() == '\0') text.remove_prefix(1);
  return text;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// Whether a reader that trims and unquotes would change the value.
bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

// Longest prefix of at most `limit` bytes that does not split a character.
std::string_view CutAtCharacter(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t length = cp936::CharLength(text, end);
    if (end + length > limit) break;
    end += length;
  }
  return text.substr(0, end);
}

// Last occurrence of `c` at a character boundary, or npos.
std::size_t FindLastChar(std::string_view text, char c) {
  std::size_t last = npos;
  for (std::size_t p = cp936::FindChar(text, c); p != npos; p = cp936::FindChar(text, c, p + 1)) last = p;
  return last;
}

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out.append(part);
  return out;
}

}  // namespace

IniFile::IniFile(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    has_bom_ = true;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  // A line ends at CR LF, at a lone LF or at a lone CR. (Room for them all
  // at once: a file of many sections has tens of thousands.)
  lines_.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  std::size_t start = 0;
  while (start < bytes.size()) {
    // (find_first_of would ask memchr about every byte of the file.)
    auto line_end = std::find_if(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end(),
                                 [](char c) { return c == '\r' || c == '\n'; });
    std::size_t end = line_end == bytes.end() ? npos : static_cast<std::size_t>(line_end - bytes.begin());
    if (end == npos) {
      lines_.push_back(ClassifyLine(std::string(bytes.substr(start))));
      break;
    }
    lines_.push_back(ClassifyLine(std::string(bytes.substr(start, end - start))));
    start = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
  }
}

IniFile::Line IniFile::ClassifyLine(std::string text) {
  Line line;
  line.text = std::move(text);
  std::string_view body = Trim(line.text);
  if (body.empty()) {
    line.kind = LineKind::kBlank;
  } else if (body.front() == ';') {
    line.kind = LineKind::kComment;
  } else if (std::string_view header = SkipNuls(body); !header.empty() && header.front() == '[') {
    // The name runs to the last "]"; without one the line is no section header.
    std::size_t close = FindLastChar(header, ']');
    if (close != npos) {
      line.kind = LineKind::kSection;
      line.name = cp936::AsciiLower(Trim(header.substr(1, close - 1)));
    }
  }
  if (line.kind == LineKind::kOther) {
    std::size_t equals = cp936::FindChar(body, '=');
    if (equals != npos) {
      line.kind = LineKind::kKey;
      line.name = cp936::AsciiLower(Trim(body.substr(0, equals)));
      std::string_view value = Trim(body.substr(equals + 1));
      line.value_begin = static_cast<std::size_t>(value.data() - line.text.data());
      line.value_end = line.value_begin + value.size();
    }
  }
  return line;
}

IniFile IniFile::Load(FileSystem& fs, const std::string& path, Status* read_status) {
  std::string contents;
  Status status = fs.ReadFile(path, &contents);
  if (read_status != nullptr) *read_status = status.IsNotFound() ? Status::Ok() : status;
  return status.ok() ? IniFile(contents) : IniFile();
}

Status IniFile::Save(FileSystem& fs, const std::string& path) const {
  return fs.ReplaceFile(path, ToBytes());
}

std::size_t IniFile::FindSection(std::string_view lowered_section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::kSection && lines_[i].name == lowered_section) return i;
  }
  return npos;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view lowered_key) const {
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::kSection; ++i) {
    if (lines_[i].kind == LineKind::kKey && lines_[i].name == lowered_key) return i;
  }
  return npos;
}

std::optional<std::string> IniFile::FindLine(std::string_view section, std::string_view key) const {
  std::size_t header = FindSection(cp936::AsciiLower(Trim(section)));
  if (header == npos) return std::nullopt;
  std::size_t index = FindKey(header, cp936::AsciiLower(Trim(key)));
  if (index == npos) return std::nullopt;
  return lines_[index].text;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  std::size_t header = FindSection(cp936::AsciiLower(Trim(section)));
  if (header == npos) return std::nullopt;
  std::size_t index = FindKey(header, cp936::AsciiLower(Trim(key)));
  if (index == npos) return std::nullopt;
  return std::string(ValueOf(lines_[index]));
}

std::string_view IniFile::ValueOf(const Line& line) {
  std::string_view value(line.text.data() + line.value_begin, line.value_end - line.value_begin);
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return CutAtCharacter(value, kMaxValueBytes);
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view default_value) const {
  std::optional<std::string> value = Find(section, key);
  return value ? *value : std::string(default_value);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int default_value) const {
  std::optional<std::string> value = Find(section, key);
  return value ? AtoiClamped(*value) : default_value;
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
  std::string safe(value);
  for (char& c : safe) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (NeedsQuotes(safe)) safe = Concat({"\"", safe, "\""});

  std::size_t header = FindSection(cp936::AsciiLower(Trim(section)));
  if (header == npos) {
    lines_.push_back(ClassifyLine(Concat({"[", section, "]"})));
    lines_.push_back(ClassifyLine(Concat({key, "=", safe})));
    return;
  }
  std::size_t index = FindKey(header, cp936::AsciiLower(Trim(key)));
  if (index != npos) {
    // Keep the key's own spelling; only the value changes.
    std::string_view body = Trim(lines_[index].text);
    std::string_view name = Trim(body.substr(0, cp936::FindChar(body, '=')));
    lines_[index] = ClassifyLine(Concat({name, "=", safe}));
    return;
  }
  // Append after the section's last line of content, so that blank lines and
  // comments that lead into the next section stay with it.
  std::size_t last = header;
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::kSection; ++i) {
    if (lines_[i].kind == LineKind::kKey || lines_[i].kind == LineKind::kOther) last = i;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                ClassifyLine(Concat({key, "=", safe})));
}

std::string IniFile::ToBytes() const {
  std::string out = has_bom_ ? std::string(kUtf8Bom) : std::string();
  for (const Line& line : lines_) out.append(line.text).append("\r\n");
  return out;
}

std::vector<IniFile::Section> IniFile::Sections() const {
  std::vector<Section> sections;
  for (const Line& line : lines_) {
    if (line.kind == LineKind::kSection) {
      sections.push_back(Section{line.name, {}});
    } else if (line.kind == LineKind::kKey && !sections.empty()) {
      sections.back().keys.push_back(KeyValue{line.name, ValueOf(line)});
    }
  }
  return sections;
}

bool IniFile::RemoveKey(std::string_view section, std::string_view key) {
  std::size_t header = FindSection(cp936::AsciiLower(Trim(section)));
  if (header == npos) return false;
  std::size_t index = FindKey(header, cp936::AsciiLower(Trim(key)));
  if (index == npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool IniFile::RenameSection(std::string_view section, std::string_view new_name) {
  std::size_t header = FindSection(cp936::AsciiLower(Trim(section)));
  if (header == npos) return false;
  lines_[header] = ClassifyLine(Concat({"[", new_name, "]"}));
  return true;
}

std::vector<std::size_t> IniFile::OtherLines() const {
  std::vector<std::size_t> numbers;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::kOther) numbers.push_back(i + 1);
  }
  return numbers;
}

void IniFile::RemoveSections(const std::function<bool(std::string_view name)>& drop) {
  bool dropping = false;
  std::vector<Line> kept;
  kept.reserve(lines_.size());
  for (Line& line : lines_) {
    if (line.kind == LineKind::kSection) dropping = drop(line.name);
    if (!dropping) kept.push_back(std::move(line));
  }
  lines_ = std::move(kept);
}
