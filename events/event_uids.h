#pragma once
// EventUids: the identity of each event for calendars, kept in uids.ini
// beside event.dat (which keeps its bytes; older versions ignore the file).
// An event's UID never changes once given:
//  - a Tallyo event's first UID is "<timeCreate>-<n>@tallyo.example", its
//    key (events/event_key.h), as every export has named it, so a calendar
//    that imported an earlier export is matched, not doubled. It needs no
//    line in the file while the event keeps its key;
//  - before a change could move an event to another place of its second
//    (a twin deleted), its UID is kept in the file (EventFolder does this
//    for every event of a second shared by several, under the lock);
//  - an imported event keeps the UID of its source (Keep).
// An entry may also hold what the import last made of the event
// (`imported`: a hash of the fields as last imported), so that a later
// import can tell whether the user changed the event since.
//
//   [1796605300]
//   uid=1796605300-0@tallyo.example
//   events=2
//   title=9c1e04aa
//
//   [1796605300-1]
//   uid=040000008200E00074C5B7101A82E008@example.com
//   imported=5be2a1f0c4d3e2b1
//   events=2
//   title=1f0e33b2
//
// Sections follow their events as repeat.ini's do (repeat/keyed_sections.h:
// names by key, fingerprints, removals after event.dat is saved). Sections
// and keys this program does not know are kept as they are. Changes reach
// the file through EventFolder (event_folder.h), which offers its uids().
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "events/event_key.h"
#include "events/event_list.h"
#include "repeat/keyed_sections.h"

// The right-hand part of Tallyo's own UIDs: the domain of Tallyo's web server.
inline constexpr char kTallyoUidDomain[] = "tallyo.example";

struct UidEntry {
  RuleKey key;
  std::string section;  // the section's name in the file now (lowered)
  std::optional<RuleFingerprint> fingerprint;
  std::string uid;       // as the calendar had it (UTF-8); empty: the section names none
  std::string imported;  // empty: never imported
};

// The UID an event of key `key` has until another is kept for it.
std::string FirstUid(EventKey key);

class EventUids {
 public:
  static constexpr char kUidKey[] = "uid";
  static constexpr char kImportedKey[] = "imported";

  EventUids() = default;
  // Reads the bytes of uids.ini; any bytes are accepted.
  explicit EventUids(std::string_view bytes);
  // The file's bytes, every line ended by CR LF.
  std::string ToBytes() const { return sections_.ToBytes(); }

  // The UID of the event with key `key`: the one kept, else its first.
  std::string UidOf(EventKey key) const;
  // True when a UID is kept for `key` in the file.
  bool IsKept(EventKey key) const;
  // The key whose UID is `uid`: one kept, else the key a first UID names
  // unless another UID is kept for it. Without `events` the key may name no
  // event (look it up); with them, only an existing event's key is given.
  std::optional<EventKey> Find(std::string_view uid) const;
  std::optional<EventKey> Find(std::string_view uid, const EventList& events) const;

  // The event with key `key` has the UID `uid` from now on (what it was
  // imported as stays). REQUIRES: `uid` holds no line break.
  void Keep(EventKey key, std::string_view uid);
  // What the import made of the event (empty: nothing); the event's UID is
  // kept with it.
  void SetImported(EventKey key, std::string_view imported);
  std::string Imported(EventKey key) const;
  // Takes the entry of `key` away (the event's UID is its first again); its
  // lines leave the file at CommitRemovals. False when there was none.
  bool Forget(EventKey key);

  // --- for EventFolder (the order of the saves) ---
  bool CommitRemovals();
  bool DropVanished(std::span<const RuleKey> existing);
  void Move(const KeyedSections<UidEntry>::Moves& moves);
  // After a load of uids.ini or event.dat: each entry finds its event.
  void Bind(const EventList& events);
  // Names every section by its key, fingerprinted for `events`. True if the bytes changed.
  bool NameAndFingerprint(const EventList& events);
  // Keeps the UID of every event of a second shared by several: from now
  // on none moves with its place. True if any was not kept before.
  bool KeepSharedSeconds(const EventList& events);
  std::vector<RuleKey> Keys() const { return sections_.Keys(); }
  const UidEntry* Entry(EventKey key) const { return sections_.Find(RuleKey{key.created, key.twin}); }
  std::size_t size() const { return sections_.size(); }
  bool empty() const { return sections_.empty(); }

 private:
  void Write(EventKey key, std::string uid, std::string imported);
  const std::unordered_map<std::string, RuleKey>& Index() const;

  KeyedSections<UidEntry> sections_;
  // UID to key, for Find: built when first needed after a change.
  mutable std::unordered_map<std::string, RuleKey> index_;
  mutable bool index_ready_ = false;
};
