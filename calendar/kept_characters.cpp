#include "calendar/kept_characters.h"

#include <vector>

#include "base/cp936.h"
#include "calendar/marked_text.h"
#include "calendar/object_values.h"

namespace {

// One character of the original and how Tallyo shows it.
struct Piece {
  std::string_view original;
  std::string shown;
};

// The length of the UTF-8 character at `at`, as the reading takes it
// (calendar/marked_text.cpp): 1 for a byte that starts none.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = lead < 0x80                    ? 1
                       : lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
  if (at + length > text.size()) length = 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) length = 0;
  }
  return length == 0 ? 1 : length;
}

std::vector<Piece> PiecesOf(std::string_view original, ShownAs as) {
  std::vector<Piece> pieces;
  for (std::size_t i = 0; i < original.size();) {
    const char c = original[i];
    if (c == '\r' || c == '\n') {
      const std::size_t size = c == '\r' && i + 1 < original.size() && original[i + 1] == '\n' ? 2 : 1;
      pieces.push_back({original.substr(i, size), as == ShownAs::kTitle ? std::string(size, ' ') : "\r\n"});
      i += size;
      continue;
    }
    const std::string_view character = original.substr(i, CharacterLength(original, i));
    int marked = 0;
    pieces.push_back({character, Cp936Marked(character, &marked)});
    i += character.size();
  }
  return pieces;
}

// The offsets at which a character of code page 936 text starts, and its end.
std::vector<bool> Boundaries(std::string_view text) {
  std::vector<bool> at(text.size() + 1, false);
  for (std::size_t i = 0; i < text.size(); i += cp936::CharLength(text, i)) at[i] = true;
  at[text.size()] = true;
  return at;
}

std::string ConvertedText(std::string_view cp936_text, ShownAs as) {
  std::string value = TextValueOfCp936(cp936_text);
  if (as == ShownAs::kTitle) {
    for (char& c : value) {
      if (c == '\n') c = ' ';
    }
  }
  return value;
}

}  // namespace

std::string ShownText(std::string_view original, ShownAs as) {
  std::string shown;
  for (const Piece& piece : PiecesOf(original, as)) shown += piece.shown;
  return shown;
}

std::string KeptCharacters(std::string_view original, std::string_view shown, std::string_view wanted,
                           ShownAs as) {
  const std::vector<Piece> pieces = PiecesOf(original, as);
  std::string shown_again;
  for (const Piece& piece : pieces) shown_again += piece.shown;
  if (shown_again != shown) return ConvertedText(wanted, as);

  // The longest start and end the two texts share, whole characters of both.
  const std::vector<bool> shown_at = Boundaries(shown), wanted_at = Boundaries(wanted);
  std::size_t head = 0;
  while (head < shown.size() && head < wanted.size() && shown[head] == wanted[head]) ++head;
  while (!shown_at[head] || !wanted_at[head]) --head;
  std::size_t tail = 0;
  const std::size_t room = std::min(shown.size(), wanted.size()) - head;
  while (tail < room && shown[shown.size() - 1 - tail] == wanted[wanted.size() - 1 - tail]) ++tail;
  while (!shown_at[shown.size() - tail] || !wanted_at[wanted.size() - tail]) --tail;

  // The original's characters shown wholly within that start and end.
  std::string value;
  std::size_t first = 0, kept_head = 0;
  for (; first < pieces.size() && kept_head + pieces[first].shown.size() <= head; ++first) {
    value += pieces[first].original;
    kept_head += pieces[first].shown.size();
  }
  std::size_t last = pieces.size(), kept_tail = 0;
  while (last > first && kept_tail + pieces[last - 1].shown.size() <= tail) {
    --last;
    kept_tail += pieces[last].shown.size();
  }
  value += ConvertedText(wanted.substr(kept_head, wanted.size() - kept_tail - kept_head), as);
  for (std::size_t i = last; i < pieces.size(); ++i) value += pieces[i].original;
  return value;
}
