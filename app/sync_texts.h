#pragma once
// What the program says about the background sync: the line under the sync
// dialog's buttons and the tray tip while a problem waits for the user.
#include <string>

#include "base/local_time.h"
#include "sync/sync_pass.h"

// "上次同步 12:03：上传 2，下载 1", then "，删除 1" and "，冲突 1" when there
// were any, and the memos kept local; for a pass that did not go through,
// "上次同步 12:03 未完成：" and the reason. `when` is the pass's end.
std::string SyncResultLine(const SyncReport& report, const LocalTime& when);

// What stopped a pass, in the user's words (the engine's own text, in
// English as tallyo-cli prints it, only where there is none here).
std::string SyncStopReason(const SyncReport& report);

// The tray tip while the sync stops for the user: "同步已停止：" and the
// reason, cut to what the tip holds.
std::string SyncStoppedTip(const SyncReport& report);
