#pragma once
// The sound of a reminder. The sound library is loaded with the first sound:
// a program that plays none does not carry it (under Wine winmm.dll and the
// codec manager it brings are 0.4 MB of resident memory).
#include <string_view>

// Plays the WAV file at `path` (code page 936) and returns at once; the
// system's default sound when the file cannot be played. False when the
// sound library is missing.
bool PlaySoundFileAsync(std::string_view path);
