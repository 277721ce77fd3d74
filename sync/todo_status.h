#pragma once
// A to-do marked done in its own text: what "我知道了" on a to-do's
// reminder means for the other devices.
#include <string>
#include <string_view>

// `ics` with STATUS:COMPLETED in its first VTODO (replacing its STATUS, if
// any); everything else as it was. Unchanged when there is no VTODO.
std::string MarkTodoCompleted(std::string_view ics);
