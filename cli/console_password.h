#pragma once
// Platform seam of tallyo-cli: a password typed on the console without echo.
#include <optional>
#include <string>

// Shows `prompt` on standard error and reads one line from the console with
// echo off; UTF-8. nullopt when there is no console to ask on.
std::optional<std::string> ReadPasswordWithoutEcho(const char* prompt);
