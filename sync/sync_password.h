#pragma once
// The password of the user's calendar server, kept by the system and never
// in a file, a log or a command line. In the Windows build the Credential
// Manager keeps it: a generic credential of this PC named after Tallyo and
// the server ("Tallyo/https://dav.example.com"), with the user name beside
// it. Elsewhere nothing keeps it (tallyo-cli asks for it each time).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"

// The longest password the system keeps: 512 bytes of UTF-16.
inline constexpr std::size_t kLongestSyncPasswordUnits = 256;

// The credential's name for the server at `address` (as the user typed it):
// "Tallyo/" and the server's origin, so a password serves every calendar of
// the server; "Tallyo/" and the typed text when it is no URL.
std::string SyncPasswordTarget(std::string_view address);

// Whether this build keeps passwords at all.
bool SyncPasswordsKept();

// Keeps `password` (UTF-8) for `user` (code page 936, as in sync.ini) at
// the server of `address`, replacing what was kept. InvalidArgument for one
// too long for the system.
Status SaveSyncPassword(std::string_view address, std::string_view user, std::string_view password);

// The password kept for the server of `address`, UTF-8; nullopt when none is.
std::optional<std::string> LoadSyncPassword(std::string_view address);

// Forgets the server's password; none kept counts as done.
Status ForgetSyncPassword(std::string_view address);
