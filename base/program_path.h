#pragma once
#include <string>

// Full path of the running program file, in code page 936 (platform seam).
std::string ProgramFilePath();
