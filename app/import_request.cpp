#include "app/import_request.h"

#include "base/cp936.h"

namespace {

constexpr char kHandOverTag[] = "tallyo-import";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The position after the last separator; separators are single-byte
// characters, never trail bytes, so the search goes by characters.
size_t AfterLastSeparator(std::string_view path) {
  size_t after = 0;
  for (size_t i = 0; i < path.size();) {
    const size_t length = cp936::CharLength(path, i);
    if (length == 1 && IsSeparator(path[i])) after = i + 1;
    i += length;
  }
  return after;
}

std::string Normalized(std::string_view folder) {
  std::string out;
  for (size_t i = 0; i < folder.size();) {
    const size_t length = cp936::CharLength(folder, i);
    if (length == 1) {
      char c = folder[i];
      if (c == '/') c = '\\';
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      out += c;
    } else {
      out.append(folder.substr(i, length));
    }
    i += length;
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

}  // namespace

std::optional<std::string> FileOfArguments(std::string_view arguments) {
  std::string_view text = Trimmed(arguments);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  if (Normalized(text) == "HIDE") return std::nullopt;
  return std::string(text);
}

bool PathLostCharacters(std::string_view path) {
  return cp936::FindChar(path, '?') != std::string_view::npos;
}

std::string FileNameOf(std::string_view path) { return std::string(path.substr(AfterLastSeparator(path))); }

std::string FolderOf(std::string_view path) {
  const size_t after = AfterLastSeparator(path);
  return std::string(path.substr(0, after == 0 ? 0 : after - 1));
}

std::string HandOverText(std::string_view folder, std::string_view file) {
  std::string text(kHandOverTag);
  text += '\0';
  text.append(folder);
  text += '\0';
  text.append(file);
  return text;
}

bool ReadHandOver(std::string_view text, std::string* folder, std::string* file) {
  const std::string_view tag(kHandOverTag, sizeof kHandOverTag);  // with its '\0'
  if (text.substr(0, tag.size()) != tag) return false;
  text.remove_prefix(tag.size());
  const size_t end = text.find('\0');
  if (end == std::string_view::npos) return false;
  const std::string_view path = text.substr(end + 1);
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  *folder = std::string(text.substr(0, end));
  *file = std::string(path);
  return true;
}

bool SameFolder(std::string_view a, std::string_view b) { return Normalized(a) == Normalized(b); }
