#pragma once
// The version notice of the main window (label 1004) once the remote
// configuration has arrived: this program's version, and the latest one with
// a download link when the document announces a newer version.
#include <string>

#include "tallyo_version.h"

// This program's version times 100, as the remote document gives versions: a
// remote version above it is newer.
inline constexpr int kProgramVersionTimes100 = TALLYO_VERSION_MAJOR * 100 + TALLYO_VERSION_MINOR;
// The same version as a number, shown with "%0.2f" (TALLYO_VERSION_TEXT).
inline constexpr double kProgramVersion = kProgramVersionTimes100 / 100.0;

struct VersionNotice {
  // Code page 936 text for label 1004.
  std::string strText;
  // Where label 1004 moves to (client pixels; its size is unchanged).
  int x = 370;
  int y = 12;
  // Whether to create the "点击下载" download link at kDownloadLinkRect,
  // pointing at the document's "downurl".
  bool bDownloadLink = false;
};

struct NoticeRect {
  int left, top, right, bottom;
};
inline constexpr NoticeRect kDownloadLinkRect{530, 10, 590, 25};
// "点击下载" (click to download)
inline constexpr const char* kDownloadLinkText = "\xb5\xe3\xbb\xf7\xcf\xc2\xd4\xd8";

// nVersion > kProgramVersionTimes100: "当前版本：<this version>，最新版本：
// <nVersion / 100>" at x 320 with the download link; otherwise "版本：<this
// version>" at x 370 without it.
VersionNotice MakeVersionNotice(int nVersion);
