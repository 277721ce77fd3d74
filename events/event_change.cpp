#include "events/event_change.h"

ChangeOutcome ChangeEvents(EventList& events, const std::function<bool(EventList&)>& change,
                           SaveWhen save_when) {
  ChangeOutcome outcome;
  outcome.reload = events.ReloadIfChanged(&outcome.reloaded);
  outcome.applied = change(events);
  if (!outcome.applied && save_when == SaveWhen::kIfApplied) return outcome;
  if (events.HasDamagedFile()) {
    outcome.save = events.SetAsideDamagedFile(&outcome.aside_path);
    if (!outcome.save.ok()) return outcome;
  }
  outcome.save = events.SaveEvents();
  return outcome;
}
