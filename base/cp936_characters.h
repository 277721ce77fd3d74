#pragma once
// What code page 936 makes of each double-byte character in UTF-8, learned
// from the system's conversion the first time the character comes up: a long
// list or calendar repeats a few thousand characters, and a table lookup
// costs a fraction of a trip through the conversion.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

class Cp936Characters {
 public:
  struct Utf8 {
    char bytes[3];
    unsigned char length;  // 0: not learned yet; kNone: not one character
  };
  static constexpr unsigned char kNone = 0xFF;

  Cp936Characters();

  // REQUIRES: lead >= 0x80.
  const Utf8& Of(unsigned char lead, unsigned char trail) { return table().Of(lead, trail); }

  // The table by itself, for a loop that writes through char pointers and
  // would otherwise read the table's address from this object at every turn.
  struct Table {
    Utf8* entries;

    // How far past the end of what they return the two writers below may
    // write: PutRun copies whole four-byte entries, of which a character
    // takes two or three bytes. (PutKnown's eight-byte stores of ASCII never
    // reach past its result: the bytes still to come give at least as many.)
    static constexpr std::size_t kSpare = 2;
    // The room PutKnown needs for a text of `cp936_size` bytes: a character
    // takes at most half as many bytes again in UTF-8.
    static constexpr std::size_t KnownRoom(std::size_t cp936_size) {
      return cp936_size + cp936_size / 2 + kSpare;
    }

    const Utf8& Of(unsigned char lead, unsigned char trail) const {
      Utf8& known = entries[(lead - 0x80) * 256 + trail];
      if (known.length == 0) Learn(lead, trail, known);
      return known;
    }

    // Writes the UTF-8 of the double-byte characters from p[*i] on, as many
    // as follow one another, at `at` and returns its end; nullptr at one that
    // is not a character or is cut off by the end. Writes up to kSpare
    // bytes past its result. REQUIRES: p[*i] >= 0x80.
    char* PutRun(const char* p, std::size_t n, std::size_t* i, char* at) const {
      do {
        if (*i + 1 == n) return nullptr;
        const Utf8& utf8 = Of(static_cast<unsigned char>(p[*i]), static_cast<unsigned char>(p[*i + 1]));
        const unsigned char length = utf8.length;  // read before the store, which might change it
        if (length == kNone) return nullptr;
        std::memcpy(at, &utf8, 4);  // the length too, overwritten next
        at += length;
        *i += 2;
      } while (*i < n && static_cast<unsigned char>(p[*i]) >= 0x80);
      return at;
    }

    // Writes `text`, ASCII and known double-byte characters, in UTF-8 at `at`
    // and returns its end; nullptr at the first byte that is neither (what
    // it wrote is then of no use). Writes up to kSpare bytes past its
    // result. REQUIRES: room for KnownRoom(text.size()) bytes at `at`.
    char* PutKnown(std::string_view text, char* at) const;
  };
  Table table() { return Table{table_.get()}; }

 private:
  static void Learn(unsigned char lead, unsigned char trail, Utf8& known);

  std::unique_ptr<Utf8[]> table_;
};

// This thread's table, made the first time it is asked for.
Cp936Characters& ThisThreadsCp936Characters();
