#pragma once
// The product's title: the caption of the framework's message boxes and the
// tip of the notification-area icon.
inline constexpr char kProgramTitle[] = "Tallyo";
