#pragma once
#include <cstdint>
#include <string>

// Full path of the running program file, in code page 936 (platform seam).
std::string ProgramFilePath();

// The running program's process id, as the system's tools show it.
std::uint32_t CurrentProcessId();
