#pragma once
// Where the sync keeps its files: beside event.dat, as repeat.ini is.
#include <string>
#include <string_view>

// The file `name` in the folder of `event_file_path`, whichever separator the path uses.
std::string SyncFileBeside(const std::string& event_file_path, std::string_view name);
