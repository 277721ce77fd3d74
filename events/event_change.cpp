#include "events/event_change.h"

ChangeOutcome ChangeEvents(EventList& events, const std::function<bool(EventList&)>& change) {
  ChangeOutcome outcome;
  outcome.reload = events.ReloadIfChanged(&outcome.reloaded);
  outcome.applied = change(events);
  if (events.HasDamagedFile()) {
    outcome.save = events.SetAsideDamagedFile(&outcome.aside_path);
    if (!outcome.save.ok()) return outcome;
  }
  outcome.save = events.SaveEvents();
  return outcome;
}
