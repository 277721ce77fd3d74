#pragma once
// Keeps the start-with-Windows entry (see autorun_entry.h) in the current
// user's registry.
#include <string_view>

// enabled: stores AutoRunCommand(program_path) as the entry, creating the
// Run key when it is missing. Otherwise removes the entry; an absent entry
// is no error. Registry failures are ignored: the entry is a convenience,
// and the settings are taken over whatever happens here. Enabling with an
// empty path (the program's own path could not be found) leaves the entry
// as it is rather than store a command that starts nothing.
void UpdateAutoRunEntry(bool enabled, std::string_view program_path);
