// The filtered, sorted result lists of the event list views.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/cp936.h"
#include "events/event_list.h"

namespace {

bool CreatedEarlier(const CMyEvent* a, const CMyEvent* b) { return a->timeCreate < b->timeCreate; }

// Same answer as lower-casing a copy of each text and searching it with
// cp936::Find, without the copies: a trail byte of a double-byte character is
// compared as it is, every other byte with A-Z lowered. A match that starts on
// a character boundary has its trail bytes where the keyword has them, since
// lower-casing never touches a lead byte.
class KeywordMatcher {
 public:
  explicit KeywordMatcher(const std::string& keyword)
      : needle_(cp936::AsciiLower(keyword)), is_trail_(needle_.size(), false) {
    for (std::size_t pos = 0; pos < needle_.size(); pos += cp936::CharLength(needle_, pos)) {
      if (cp936::CharLength(needle_, pos) == 2) is_trail_[pos + 1] = true;
    }
  }

  bool FoundIn(std::string_view text) const {
    if (needle_.empty()) return true;
    if (text.size() < needle_.size()) return false;
    // A quick pass over the bytes finds where the first byte could match (a
    // superset: every byte is lowered here); only there is the character
    // boundary worked out, from the last boundary known, and the match tried.
    const char first = needle_[0];
    const std::size_t last = text.size() - needle_.size();
    std::size_t boundary = 0;
    for (std::size_t pos = 0; pos <= last; ++pos) {
      if (Lower(text[pos]) != first) continue;
      while (boundary < pos) boundary += cp936::CharLength(text, boundary);
      if (boundary == pos && MatchesAt(text, pos)) return true;
    }
    return false;
  }

 private:
  static char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

  bool MatchesAt(std::string_view text, std::size_t pos) const {
    for (std::size_t j = 0; j < needle_.size(); ++j) {
      char c = text[pos + j];
      if (!is_trail_[j]) c = Lower(c);
      if (c != needle_[j]) return false;
    }
    return true;
  }

  std::string needle_;
  std::vector<bool> is_trail_;
};

// Two instants on the same local calendar day lie less than this far apart,
// even across daylight saving and the largest offset changes zones have made.
constexpr std::int64_t kSameDayReach = 72 * 3600;

}  // namespace

void EventList::InsertSorted(EventPtrList& result, const CMyEvent* event) {
  auto later = std::find_if(result.begin(), result.end(),
                            [&](const CMyEvent* e) { return e->timeCreate > event->timeCreate; });
  result.insert(later, event);
}

// Gives exactly the list that InsertSorted of each match, in stored order,
// would give, but in O(n log n): on a sorted result that is a stable sort of
// the matches merged after the entries of equal time. An unsorted result
// (which no view hands in) takes the literal walk.
template <typename Predicate>
void EventList::QueryWhere(EventPtrList& result, Predicate matches) const {
  EventPtrList found;
  for (const CMyEvent& e : records_) {
    if (matches(e)) found.push_back(&e);
  }
  if (!std::is_sorted(result.begin(), result.end(), CreatedEarlier)) {
    for (const CMyEvent* e : found) InsertSorted(result, e);
    return;
  }
  std::stable_sort(found.begin(), found.end(), CreatedEarlier);
  std::size_t middle = result.size();
  result.insert(result.end(), found.begin(), found.end());
  std::inplace_merge(result.begin(), result.begin() + static_cast<std::ptrdiff_t>(middle), result.end(),
                     CreatedEarlier);
}

void EventList::QueryByDate(Time32 day, EventPtrList& result) const {
  LocalTime wanted;
  if (!ToLocalTime(day, &wanted)) return;
  QueryWhere(result, [&](const CMyEvent& e) {
    // Local conversion is slow; most records are far from the day.
    if (std::llabs(static_cast<std::int64_t>(e.timeCreate) - day) >= kSameDayReach) return false;
    LocalTime created;
    return ToLocalTime(e.timeCreate, &created) && created.year == wanted.year &&
           created.month == wanted.month && created.day == wanted.day;
  });
}

void EventList::QueryRemind(EventPtrList& result) const {
  QueryWhere(result, [](const CMyEvent& e) { return e.bRemind != 0; });
}

void EventList::QueryMemo(EventPtrList& result) const {
  QueryWhere(result, [](const CMyEvent& e) { return e.bRemind == 0; });
}

void EventList::QueryKeyword(std::string keyword, EventPtrList& result) const {
  KeywordMatcher matcher(keyword);
  QueryWhere(result,
             [&](const CMyEvent& e) { return matcher.FoundIn(e.strTitle) || matcher.FoundIn(e.strContent); });
}
