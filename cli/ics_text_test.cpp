// The calendar byte for byte against a plain reference written here: the
// writer works on many bytes at once, in a buffer it grows itself, and must
// give exactly what a byte-by-byte conversion, escaping and folding give,
// wherever an escape, a line break or a character falls on the edge of a
// piece it works on, of a folded line or of its buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <random>

#include "base/testing/exact_room.h"
#include "base/text_convert.h"
#include "cli/ics_export.h"
#include "cli/ics_text.h"
#include "events/testing/events_test_util.h"

namespace {

using testing_room::Repeated;
using testing_room::WrittenInto;

using namespace std::string_literals;

// --- the reference: one byte at a time ---

std::string ReferenceEscaped(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (c == '\r' || c == '\n') {
      out += "\\n";
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else if ((static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) || c == '\t') {
      out += c;
    }
  }
  return out;
}

std::string ReferenceFolded(const std::string& line) {
  std::string out;
  std::size_t from = 0, limit = 75;
  while (line.size() - from > limit) {
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(line[from + cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = limit;
    out += line.substr(from, cut) + "\r\n ";
    from += cut;
    limit = 74;
  }
  return out + line.substr(from) + "\r\n";
}

std::string ReferenceTime(Time32 t) {
  std::time_t system = t;
  std::tm utc{};
  gmtime_r(&system, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

// Empty when the value is empty or blank, which leaves the property out.
std::string ReferenceText(const std::string& name, const std::string& cp936_text) {
  std::string value = ReferenceEscaped(cp936::ToUtf8(cp936_text));
  if (value.find_first_not_of(" \t") == std::string::npos) return "";
  return ReferenceFolded(name + value);
}

std::string ReferenceCalendar(const EventVector& events) {
  std::string out =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//tallyo-cli//ZH\r\nCALSCALE:GREGORIAN\r\n";
  std::map<Time32, int> seen;
  for (const auto& event : events) {
    const bool reminder = event.bRemind != 0;
    const std::string created = ReferenceTime(event.timeCreate);
    out += reminder ? "BEGIN:VEVENT\r\n" : "BEGIN:VJOURNAL\r\n";
    out += "UID:" + std::to_string(event.timeCreate) + "-" + std::to_string(seen[event.timeCreate]++) +
           "@tallyo.example\r\n";
    out += "DTSTAMP:" + created + "\r\nCREATED:" + created + "\r\n";
    out += "DTSTART:" + (reminder ? ReferenceTime(event.timeRemind) : created) + "\r\n";
    out += ReferenceText("SUMMARY:", event.strTitle);
    out += ReferenceText("DESCRIPTION:", event.strContent);
    if (reminder) {
      out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:PT0S\r\n";
      std::string alarm = ReferenceText("DESCRIPTION:", event.strTitle);
      out += alarm.empty() ? ReferenceText("DESCRIPTION:", "\xCA\xC2\xC7\xE9\xCC\xE1\xD0\xD1") : alarm;
      out += "END:VALARM\r\nEND:VEVENT\r\n";
    } else {
      out += "END:VJOURNAL\r\n";
    }
  }
  return out + "END:VCALENDAR\r\n";
}

std::string Written(const EventVector& events) {
  IcsUids uids(events);
  IcsWriter writer;
  for (const auto& event : events) writer.Add(event, uids);
  writer.Finish();
  return std::string(writer.text());
}

// Texts of code page 936 made of pieces that each take a path of their own:
// plain ASCII, what is escaped or left out, line breaks, Chinese, and (with
// `unusual`) bytes that are no character, which send a text the slow way.
std::string RandomText(std::mt19937& rng, std::size_t size, bool unusual) {
  static const std::string pieces[] = {
      "a",        "Z",    " ",    "\t", ";", ",", "\\", "\r\n", "\r", "\n", "\x01", "\x7F",
      "\xBA\xBA",  // "汉"
      "\xCC\xE1",  // "提"
      "\xA3\xAC",  // "，"
      "\x81\x5C",  // a double-byte character whose trail byte is a backslash
      "\xFF",     "\x80", "\x81",
  };
  const std::size_t kinds = std::size(pieces) - (unusual ? 0 : 3);
  std::string text;
  while (text.size() < size) text += pieces[rng() % kinds];
  return text;
}

}  // namespace

TEST(IcsText, WritersStayWithinTheirRoomAndSpareOnExactSizeHeapBuffers) {
  // The worst cases at every length: each byte escaped or a line break (two
  // octets each), control characters (nothing written, yet sixteen bytes
  // stored each time), Chinese (three octets for two bytes).
  std::vector<std::string> texts;
  for (std::size_t times = 0; times <= 40; ++times) {
    for (const char* piece : {";", "\r", "\x01", "\xBA\xBA", "a", "\xA8\xA4", "\x01;"}) {
      texts.push_back(Repeated(piece, times));
    }
  }
  std::mt19937 rng(11);
  for (int i = 0; i < 3000; ++i) texts.push_back(RandomText(rng, rng() % 70, false));
  Cp936Characters characters;
  for (const std::string& text : texts) {
    const std::string utf8 = cp936::ToUtf8(text);
    const std::string expected = ReferenceEscaped(utf8);
    auto from_cp936 = [&](char* at) { return PutIcsTextFromCp936(text, at, characters); };
    ASSERT_EQ(WrittenInto(IcsTextRoom(text.size()), from_cp936), expected) << text;
    ASSERT_EQ(WrittenInto(expected.size() + kIcsTextSpare, from_cp936), expected) << text;
    auto escaped = [&](char* at) { return PutIcsEscaped(utf8, at); };
    ASSERT_EQ(WrittenInto(IcsTextRoom(utf8.size()), escaped), expected) << text;
    ASSERT_EQ(WrittenInto(expected.size() + kIcsTextSpare, escaped), expected) << text;
  }
  // Folding needs exactly three more octets a fold.
  for (std::size_t size = 0; size <= 400; size += 7) {
    const std::string line = Repeated("\xE6\xB1\x89", size / 3) + std::string(size % 3, 'x');
    const std::size_t folds = IcsFoldCount(line.data(), line.size());
    auto fold = [&](char* at) {
      std::memcpy(at, line.data(), line.size());
      return FoldIcsLineInPlace(at, line.size(), folds);
    };
    std::string folded = ReferenceFolded(line);
    folded.resize(folded.size() - 2);  // without its line end
    ASSERT_EQ(WrittenInto(line.size() + 3 * folds, fold), folded) << size;
  }
}

TEST(IcsText, EscapingMatchesTheReferenceAtEveryLengthAndOffset) {
  // A lone special byte or a multibyte character at every place of texts
  // up to a few pieces of sixteen, then random texts.
  const std::string specials[] = {";", ",", "\\", "\r", "\n", "\r\n", "\x01", "\x7F", "\t", "\xE6\xB1\x89"};
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      for (const std::string& special : specials) {
        std::string text(size, 'x');
        text.insert(at, special);
        const std::string followed = text + ";\r";
        std::string out = "pre";
        AppendIcsText(std::string_view(followed.data(), text.size()), &out);
        ASSERT_EQ(out, "pre" + ReferenceEscaped(text)) << size << " " << at;
      }
    }
  }
  std::mt19937 rng(3);
  for (int i = 0; i < 3000; ++i) {
    std::string text = cp936::ToUtf8(RandomText(rng, rng() % 120, true));
    std::string out;
    AppendIcsText(text, &out);
    ASSERT_EQ(out, ReferenceEscaped(text)) << text;
  }
}

TEST(IcsText, ConvertingAndEscapingInOnePassMatchesConvertingThenEscaping) {
  Cp936Characters characters;
  std::mt19937 rng(5);
  for (int i = 0; i < 20000; ++i) {
    const bool unusual = i % 4 == 0;
    const std::string text = RandomText(rng, rng() % 90, unusual);
    // Followed by bytes that are not the text's: nothing may read past its end.
    const std::string followed = text + ";\xBA\r";
    std::string out(IcsTextRoom(text.size()), '\0');
    char* end = PutIcsTextFromCp936(std::string_view(followed.data(), text.size()), out.data(), characters);
    if (end == nullptr) {
      // Only a text with a byte that is no character may be refused.
      ASSERT_TRUE(unusual) << text;
      continue;
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
    ASSERT_EQ(out, ReferenceEscaped(cp936::ToUtf8(text))) << text;
  }
  // A text that ends in a lead byte, or holds a pair that is no character.
  for (const std::string& text : {"ab\xBA"s, "\xBA"s, "\x81\x30x"s, "x\xFF\xFF"s, "\x80"s}) {
    std::string out(IcsTextRoom(text.size()), '\0');
    EXPECT_EQ(PutIcsTextFromCp936(text, out.data(), characters), nullptr) << text;
  }
}

TEST(IcsText, FoldingInPlaceMatchesTheReference) {
  const std::string pieces[] = {"a", "\xC3\xA9", "\xE6\xB1\x89", "\xF0\x9F\x98\x80", "\\;", "\x80\x80\x80"};
  std::mt19937 rng(7);
  for (int i = 0; i < 4000; ++i) {
    std::string line;
    const std::size_t size = rng() % 400;
    while (line.size() < size) line += pieces[rng() % (i % 2 ? 5 : 6)];  // half not UTF-8 at all
    std::string out = "x";
    AppendFoldedLine(line, &out);
    ASSERT_EQ(out, std::string("x").append(ReferenceFolded(line))) << line;
  }
}

TEST(IcsText, CalendarMatchesTheReferenceByteForByte) {
  // Titles and bodies of every length up to a few folded lines, so that
  // escapes and Chinese characters fall on the 75th octet and on every
  // edge inside; times over the whole range, some seconds shared.
  std::mt19937 rng(13);
  EventVector events;
  for (int i = 0; i < 6000; ++i) {
    const bool unusual = i % 5 == 0;
    const auto created = static_cast<Time32>(i % 7 == 0 ? rng() : 1796600000 + rng() % 400);
    events.push_back(MakeEvent(RandomText(rng, rng() % 180, unusual), created,
                               RandomText(rng, rng() % (i % 10 ? 120 : 700), unusual),
                               static_cast<std::int32_t>(rng() % 2), static_cast<Time32>(rng())));
  }
  // Blank and empty titles of reminders: the alarm takes the caption.
  events.push_back(MakeEvent("", 5, "", 1, 6));
  events.push_back(MakeEvent(" \t\x01", 5, "\r\n", 1, 6));
  const std::string expected = ReferenceCalendar(events);
  ASSERT_EQ(Written(events), expected);

  // Taken away in pieces between events, as the export streams it.
  IcsUids uids(events);
  IcsWriter writer;
  std::string streamed;
  for (const auto& event : events) {
    writer.Add(event, uids);
    if (writer.text().size() >= 4096) {
      streamed += writer.text();
      writer.Clear();
    }
  }
  writer.Finish();
  streamed += writer.text();
  EXPECT_EQ(streamed, expected);
}

TEST(IcsText, TextsFarLargerThanTheBufferGrowItMidEvent) {
  // Each text alone is several times the writer's first buffer, of bytes
  // that each become three (no character: U+FFFD) or Chinese that folds.
  EventVector events;
  events.push_back(MakeEvent(std::string(100000, '\xFF'), 100, std::string(900000, ';'), 1, 200));
  std::string chinese;
  for (int i = 0; i < 400000; ++i) chinese += "\xBA\xBA";
  events.push_back(MakeEvent(chinese, 101, chinese + "\x80", 1, 300));
  events.push_back(MakeEvent("after", 102, "", 0));
  EXPECT_EQ(Written(events), ReferenceCalendar(events));
}
