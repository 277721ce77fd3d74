// The iCalendar text of the events, checked line by line and read back with
// libical: every event must come back with its texts and times.
#include "cli/ics_export.h"

#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <unordered_set>

#include "cli/testing/ics_reading.h"
#include "events/testing/events_test_util.h"

namespace {

using namespace std::string_literals;

std::string Calendar(const EventVector& events) {
  IcsUids uids(events);
  IcsWriter writer;
  for (const auto& event : events) writer.Add(event, uids);
  writer.Finish();
  return std::string(writer.text());
}

// The physical lines, each of which must end in CR LF, hold no other CR or
// LF, and have at most 75 octets; a continuation line starts with a space and
// never with the middle of a UTF-8 character.
std::vector<std::string> CheckedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find("\r\n", from);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the text does not end in CR LF";
      break;
    }
    std::string line = text.substr(from, end - from);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    EXPECT_LE(line.size(), 75u) << line;
    if (!line.empty() && line[0] == ' ') {
      EXPECT_TRUE(line.size() < 2 || (static_cast<unsigned char>(line[1]) & 0xC0) != 0x80) << line;
    }
    lines.push_back(line);
    from = end + 2;
  }
  return lines;
}

std::string Unfolded(const std::string& text) {
  std::string out;
  for (const std::string& line : CheckedLines(text)) {
    if (!line.empty() && line[0] == ' ') {
      out.append(line, 1);
    } else {
      if (!out.empty()) out += '\n';
      out += line;
    }
  }
  return out;
}

void ExpectAllReadBack(const EventVector& events, const ReadCalendar& read) {
  ASSERT_TRUE(read.parsed);
  EXPECT_EQ(read.errors, 0) << read.first_error;
  EXPECT_EQ(read.version, "2.0");
  EXPECT_EQ(read.prodid, "-//Tallyo//tallyo-cli//ZH");
  ASSERT_EQ(read.components.size(), events.size());
  IcsUids uids(events);
  for (std::size_t i = 0; i < events.size(); ++i) {
    SCOPED_TRACE("event " + std::to_string(i));
    ExpectReadsBackAs(read.components[i], events[i]);
    EXPECT_EQ(read.components[i].uid, uids.Uid(events[i]));
  }
}

// "汉" in code page 936, n times.
std::string ChineseCharacters(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "\xBA\xBA";
  return text;
}

}  // namespace

TEST(IcsExport, UtcTimesOverTheWholeRange) {
  EXPECT_EQ(IcsUtcTime(0), "19700101T000000Z");
  EXPECT_EQ(IcsUtcTime(-1), "19691231T235959Z");
  EXPECT_EQ(IcsUtcTime(951782400), "20000229T000000Z");
  EXPECT_EQ(IcsUtcTime(1796605200), "20261207T010000Z");
  EXPECT_EQ(IcsUtcTime(2147483647), "20380119T031407Z");
  EXPECT_EQ(IcsUtcTime(-2147483647 - 1), "19011213T204552Z");
  // Against the C library at steps that reach every time of day and every day of the year.
  for (std::int64_t t = -2147483648LL; t <= 2147483647LL; t += 7919 * 13) {
    std::time_t system = static_cast<std::time_t>(t);
    std::tm utc{};
    ASSERT_NE(gmtime_r(&system, &utc), nullptr);
    char expected[32];
    std::strftime(expected, sizeof expected, "%Y%m%dT%H%M%SZ", &utc);
    ASSERT_EQ(IcsUtcTime(static_cast<Time32>(t)), expected) << t;
  }
}

TEST(IcsExport, TextEscapes) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"a;b,c\\d", "a\\;b\\,c\\\\d"},
      {"\\n is not a line break", "\\\\n is not a line break"},
      {"one\r\ntwo", "one\\ntwo"},
      {"one\ntwo", "one\\ntwo"},
      {"one\rtwo", "one\\ntwo"},
      {"\r\r\n\n\r", "\\n\\n\\n\\n"},
      {"tab\tstays", "tab\tstays"},
      {"bell\a, nul\0 and del\x7F gone"s, "bell\\, nul and del gone"},
      {"\xE6\xB1\x89;", "\xE6\xB1\x89\\;"},  // "汉;"
  };
  for (const auto& [in, expected] : cases) {
    std::string out = "SUMMARY:";
    AppendIcsText(in, &out);
    EXPECT_EQ(out, "SUMMARY:" + expected) << in;
  }
}

TEST(IcsExport, FoldsAt75OctetsWithoutSplittingACharacter) {
  // Every length around the limits, with characters of one to four octets at every offset.
  const std::string pieces[] = {"a", "\xC3\xA9", "\xE6\xB1\x89", "\xF0\x9F\x98\x80"};
  for (const std::string& piece : pieces) {
    for (std::size_t ascii = 0; ascii < 4; ++ascii) {
      std::string line(ascii, 'x');
      while (line.size() < 240) {
        line += piece;
        std::string out;
        AppendFoldedLine(line, &out);
        std::vector<std::string> physical = CheckedLines(out);
        EXPECT_EQ(physical.size() == 1, line.size() <= 75) << line.size();
        EXPECT_EQ(Unfolded(out), line);
        // A line is cut only where the next character would not fit.
        for (std::size_t i = 0; i + 1 < physical.size(); ++i) {
          EXPECT_GT(physical[i].size() + piece.size(), 75u) << line.size();
        }
      }
    }
  }
  std::string exactly(75, 'x');
  std::string out;
  AppendFoldedLine(exactly, &out);
  EXPECT_EQ(out, exactly + "\r\n");
  out.clear();
  AppendFoldedLine(exactly + "y", &out);
  EXPECT_EQ(out, exactly + "\r\n y\r\n");
}

TEST(IcsExport, EventsReadBackWithTextsAndTimes) {
  EventVector events;
  events.push_back(MakeEvent("\xbb\xe1\xd2\xe9", 1796605200, "Room 4\r\nBring the slides", 1, 1796689800));
  events.push_back(MakeEvent("shopping list", 1796600000, "eggs, milk; bread\\butter", 0, 123));
  events.push_back(MakeEvent("", 1796600001, ""));  // an empty memo
  events.push_back(MakeEvent("", 1796600002, "", 1, 1796600002));
  events.push_back(MakeEvent(" \t ", 1796600002, "\x01", 1, 1796600003));  // blank once escaped
  events.push_back(MakeEvent("  spaces around  ", 1796600002, "\tand tabs\t", 0));
  events.push_back(
      MakeEvent("cr lf\r\nand lone\nlf and lone\rcr", 1796600003, "a\nb\r\nc\rd", 1, 1796600100));
  events.push_back(MakeEvent(";,\\;,\\", 1796600004, "\\n\\N\\;", 0));
  events.push_back(MakeEvent("epoch", 0, "", 1, 0));  // 1970, and a reminder at the epoch itself
  events.push_back(MakeEvent("end of time", 2147483647, "", 1, 2147483647));
  events.push_back(MakeEvent("before 1970", -86400 * 365, "", 1, -1));
  events.push_back(MakeEvent("not code page 936: \xFF\x80 and a cut \xCC", 1796600005, "\x81\x0A", 0));
  events.push_back(MakeEvent(ChineseCharacters(200), 1796600006, ChineseCharacters(1000), 1, 1796700000));
  std::string text = Calendar(events);
  CheckedLines(text);
  EXPECT_EQ(text.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n", 0), 0u);
  // Empty texts give no property at all: parsers refuse an empty value.
  EXPECT_EQ(text.find(":\r\n"), std::string::npos);
  ExpectAllReadBack(events, ReadIcs(text));
}

TEST(IcsExport, LongChineseTitleFoldsAndReadsBackWhole) {
  EventVector events;
  events.push_back(MakeEvent(ChineseCharacters(200), 1796605200, "", 1, 1796689800));
  std::string text = Calendar(events);
  std::vector<std::string> lines = CheckedLines(text);
  // "SUMMARY:" and 600 octets: the first line holds 22 characters (8 + 66
  // octets), each continuation line 24 (1 + 72), the last one the 10 left.
  std::size_t summary = 0;
  while (lines[summary].rfind("SUMMARY:", 0) != 0) ++summary;
  EXPECT_EQ(lines[summary].size(), 74u);
  for (std::size_t i = 1; i <= 7; ++i) EXPECT_EQ(lines[summary + i].size(), 73u) << i;
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "\xE6\xB1\x89";
  EXPECT_EQ(lines[summary + 8], " " + ten);
  EXPECT_EQ(lines[summary + 9].rfind("BEGIN:VALARM", 0), 0u);
  ReadCalendar read = ReadIcs(text);
  ExpectAllReadBack(events, read);
  EXPECT_EQ(read.components[0].summary.size(), 600u);
}

TEST(IcsExport, ARepeatingReminderIsItsSeriesInFloatingLocalTime) {
  EventVector events;
  events.push_back(MakeEvent("stand-up", 1796605200, "", 1, 1797210000));
  events.push_back(MakeEvent("memo", 1796605201));
  WallSeconds start = 0;
  ASSERT_TRUE(ParseWallTime("2026-12-14 09:00:00", &start));
  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=WEEKLY;INTERVAL=30000;BYDAY=MO,TU,WE,TH,FR,SA,SU;WKST=SU;"
                              "UNTIL=20271231T235959",
                              &rule)
                  .ok());
  const RepeatSeries series(start, rule);
  IcsUids uids(events);
  IcsWriter writer;
  writer.Add(events[0], uids, &series);
  writer.Add(events[1], uids, &series);  // a memo has no reminder to repeat
  writer.Finish();
  const std::string text(writer.text());
  EXPECT_EQ(text,
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//tallyo-cli//ZH\r\nCALSCALE:GREGORIAN\r\n"
            "BEGIN:VEVENT\r\n"
            "UID:1796605200-0@tallyo.example\r\n"
            "DTSTAMP:20261207T010000Z\r\n"
            "CREATED:20261207T010000Z\r\n"
            "DTSTART:20261214T090000\r\n"
            "RRULE:FREQ=WEEKLY;INTERVAL=30000;BYDAY=MO,TU,WE,TH,FR,SA,SU;WKST=SU;UNTIL=2\r\n"
            " 0271231T235959\r\n"
            "SUMMARY:stand-up\r\n"
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:PT0S\r\nDESCRIPTION:stand-up\r\nEND:VALARM\r\n"
            "END:VEVENT\r\n"
            "BEGIN:VJOURNAL\r\n"
            "UID:1796605201-0@tallyo.example\r\n"
            "DTSTAMP:20261207T010001Z\r\n"
            "CREATED:20261207T010001Z\r\n"
            "DTSTART:20261207T010001Z\r\n"
            "SUMMARY:memo\r\n"
            "END:VJOURNAL\r\n"
            "END:VCALENDAR\r\n");
  CheckedLines(text);
  ReadCalendar read = ReadIcs(text);
  ASSERT_TRUE(read.parsed);
  EXPECT_EQ(read.errors, 0) << read.first_error;
  ASSERT_EQ(read.components.size(), 2u);
  EXPECT_EQ(read.components[0].floating_start, "20261214T090000");
  EXPECT_NE(read.components[0].rrule.find("UNTIL=20271231T235959"), std::string::npos)
      << read.components[0].rrule;
  EXPECT_EQ(read.components[0].first_occurrences.size(),
            6u);  // Monday to Saturday (weeks from Sunday), then past UNTIL
}

TEST(IcsExport, ASeriesCarriesTheDatesItAddsAndLeavesOutInItsStartsForm) {
  EventVector events = {MakeEvent("stand-up", 1796605200, "", 1, 1797210000)};
  WallSeconds start = 0;
  ASSERT_TRUE(ParseWallTime("2026-12-14 09:00:00", &start));
  RepeatRule rule;
  ASSERT_TRUE(ParseRepeatRule("FREQ=DAILY", &rule).ok());
  RepeatDates dates;
  std::string bad;
  ASSERT_TRUE(
      ParseWallTimeList("2026-12-25 09:00:00,2027-01-01 09:00:00,2027-01-02 09:00:00,2027-01-03 "
                        "09:00:00,2027-01-04 09:00:00",
                        &dates.removed, &bad));
  ASSERT_TRUE(ParseWallTimeList("2026-12-26 10:30:00", &dates.added, &bad));
  const RepeatSeries series(start, rule, dates);
  IcsUids uids(events);
  IcsWriter writer;
  writer.Add(events[0], uids, &series);
  writer.Finish();
  const std::string text(writer.text());
  CheckedLines(text);
  EXPECT_NE(text.find("DTSTART:20261214T090000\r\nRRULE:FREQ=DAILY\r\n"
                      "EXDATE:20261225T090000,20270101T090000,20270102T090000,20270103T090000,2027\r\n"
                      " 0104T090000\r\nRDATE:20261226T103000\r\n"),
            std::string::npos)
      << text;
  ReadCalendar read = ReadIcs(text);
  ASSERT_EQ(read.components.size(), 1u);
  EXPECT_EQ(read.errors, 0) << read.first_error;
  EXPECT_EQ(read.components[0].exdates,
            (std::vector<std::string>{"20261225T090000", "20270101T090000", "20270102T090000",
                                      "20270103T090000", "20270104T090000"}));
  EXPECT_EQ(read.components[0].rdates, std::vector<std::string>{"20261226T103000"});
}

TEST(IcsExport, NoEventsIsAnEmptyCalendar) {
  std::string text = Calendar({});
  EXPECT_EQ(text,
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo//tallyo-cli//ZH\r\nCALSCALE:GREGORIAN\r\n"
            "END:VCALENDAR\r\n");
  ReadCalendar read = ReadIcs(text);
  ASSERT_TRUE(read.parsed);
  EXPECT_EQ(read.errors, 0) << read.first_error;
  EXPECT_TRUE(read.components.empty());
}

TEST(IcsExport, UidsCountEventsWithinTheirSecond) {
  EventVector events;
  for (Time32 created : {5, 3, 5, 5, 3, -7, 9}) events.push_back(MakeEvent("x", created));
  IcsUids uids(events);
  std::vector<std::string> expected = {"5-0", "3-0", "5-1", "5-2", "3-1", "-7-0", "9-0"};
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(uids.Uid(events[i]), expected[i] + "@tallyo.example");
  }
  // An edit changes no UID: title, body and reminder take no part.
  events[2].strTitle = "edited";
  events[2].strContent = "new body";
  events[2].bRemind = 1;
  events[2].timeRemind = 100;
  EXPECT_EQ(IcsUids(events).Uid(events[2]), "5-1@tallyo.example");

  // Creation times in stored order (the usual list), some shared.
  EventVector rising;
  for (Time32 created : {1, 1, 2, 40, 40, 40}) rising.push_back(MakeEvent("x", created));
  IcsUids rising_uids(rising);
  expected = {"1-0", "1-1", "2-0", "40-0", "40-1", "40-2"};
  for (std::size_t i = 0; i < rising.size(); ++i) {
    EXPECT_EQ(rising_uids.Uid(rising[i]), expected[i] + "@tallyo.example");
  }
}

TEST(IcsExport, RandomTextsAlwaysReadBack) {
  // Any bytes at all in titles and bodies: invalid code page 936, control
  // characters, and every character iCalendar escapes, in texts of every length.
  std::mt19937 rng(11);
  const std::string alphabet = "ab;,\\\r\n\t\0\x01\x7F \xBA\xBA\xCC\xE1\xD0\xD1\xFF\x81"s;
  EventVector events;
  for (int i = 0; i < 2000; ++i) {
    auto random_text = [&](std::size_t max) {
      std::string text(rng() % max, ' ');
      for (char& c : text) c = alphabet[rng() % alphabet.size()];
      return text;
    };
    events.push_back(MakeEvent(random_text(120), static_cast<Time32>(1796600000 + rng() % 1000),
                               random_text(400), static_cast<std::int32_t>(rng() % 2),
                               static_cast<Time32>(rng())));
  }
  std::string text = Calendar(events);
  CheckedLines(text);
  ExpectAllReadBack(events, ReadIcs(text));
}

TEST(IcsExport, HundredThousandEvents) {
  EventVector events;
  for (int i = 0; i < 100000; ++i) {
    bool reminder = i % 3 == 0;
    events.push_back(MakeEvent(i % 2 ? "Weekly report, team" : "\xbb\xe1\xd2\xe9 " + std::to_string(i),
                               1600000000 + i / 2, i % 5 ? "" : "line one\r\nline two", reminder ? 1 : 0,
                               reminder ? 1600086400 + i : 0));
  }
  ReadCalendar read = ReadIcs(Calendar(events));
  ExpectAllReadBack(events, read);
  std::unordered_set<std::string> uids;
  for (const ReadComponent& component : read.components) uids.insert(component.uid);
  EXPECT_EQ(uids.size(), events.size());
}

TEST(IcsExport, KeptUidsAreWrittenAndReadBackAsTheyWere) {
  // A twin whose first UID was kept when another of its second went, an
  // event imported from a calendar (a long UID with characters TEXT
  // escapes), and one that has its first UID still.
  EventVector events = {MakeEvent("b", 500), MakeEvent("c", 500, "", 1, 900),
                        MakeEvent("imported", 600, "", 1, 950), MakeEvent("own", 700)};
  EventUids kept;
  kept.Keep({500, 0}, "500-1@tallyo.example");
  kept.Keep({500, 1}, "500-2@tallyo.example");
  const std::string long_uid = "event;one,two\\" + std::string(120, 'x') + "@calendar.example.com";
  kept.Keep({600, 0}, long_uid);
  IcsUids uids(events, &kept);
  IcsWriter writer;
  for (const auto& event : events) writer.Add(event, uids);
  writer.Finish();
  const std::string text(writer.text());
  CheckedLines(text);
  EXPECT_NE(text.find("UID:500-1@tallyo.example\r\n"), std::string::npos);
  EXPECT_NE(text.find("UID:event\\;one\\,two\\\\xxx"), std::string::npos) << "escaped as TEXT";

  const ReadCalendar read = ReadIcs(text);
  ASSERT_EQ(read.components.size(), events.size());
  EXPECT_EQ(read.errors, 0) << read.first_error;
  const std::vector<std::string> expected = {"500-1@tallyo.example", "500-2@tallyo.example", long_uid,
                                             "700-0@tallyo.example"};
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(read.components[i].uid, expected[i]);
    EXPECT_EQ(uids.Uid(events[i]), expected[i]);
    // Read back, each UID finds its event again (as an import matches it).
    EXPECT_EQ(kept.Find(read.components[i].uid), (EventKey{events[i].timeCreate, i == 1 ? 1u : 0u}));
    ExpectReadsBackAs(read.components[i], events[i]);
  }
}
