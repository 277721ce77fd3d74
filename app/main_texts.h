#pragma once
// The main window's own texts, in code page 936.

// "版本检测": the version label until the update check answers.
inline constexpr char kVersionCheckCaption[] = "\xb0\xe6\xb1\xbe\xbc\xec\xb2\xe2";

// Tooltips of the picture buttons: "导入日历文件", "关于", "设置", "常见问题",
// "专题页面".
inline constexpr char kImportTip[] = "\xb5\xbc\xc8\xeb\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe";
inline constexpr char kAboutTip[] = "\xb9\xd8\xd3\xda";
inline constexpr char kSettingsTip[] = "\xc9\xe8\xd6\xc3";
inline constexpr char kHelpTip[] = "\xb3\xa3\xbc\xfb\xce\xca\xcc\xe2";
inline constexpr char kHomeTip[] = "\xd7\xa8\xcc\xe2\xd2\xb3\xc3\xe6";

// The view selector: "指定日期的事情", "所有要提醒的事情", "所有要记忆的事情",
// "所有事情" (views 0, 1, 2 and 4).
inline constexpr const char* kViewSelectorEntries[] = {
    "\xd6\xb8\xb6\xa8\xc8\xd5\xc6\xda\xb5\xc4\xca\xc2\xc7\xe9",
    "\xcb\xf9\xd3\xd0\xd2\xaa\xcc\xe1\xd0\xd1\xb5\xc4\xca\xc2\xc7\xe9",
    "\xcb\xf9\xd3\xd0\xd2\xaa\xbc\xc7\xd2\xe4\xb5\xc4\xca\xc2\xc7\xe9",
    "\xcb\xf9\xd3\xd0\xca\xc2\xc7\xe9",
};
inline constexpr int kViewOfSelectorEntry[] = {0, 1, 2, 4};

// "无法保存事件文件：" (the event file could not be saved:)
inline constexpr char kSaveFailed[] =
    "\xce\xde\xb7\xa8\xb1\xa3\xb4\xe6\xca\xc2\xbc\xfe\xce\xc4\xbc\xfe\xa3\xba";
// "修改已保留在程序中，下次保存成功时会一并写入。" (the change is kept in the
// program and written with the next successful save.)
inline constexpr char kChangeKept[] =
    "\xd0\xde\xb8\xc4\xd2\xd1\xb1\xa3\xc1\xf4\xd4\xda\xb3\xcc\xd0\xf2\xd6\xd0\xa3\xac\xcf\xc2\xb4\xce\xb1\xa3"
    "\xb4\xe6\xb3\xc9\xb9\xa6\xca\xb1\xbb\xe1\xd2\xbb\xb2\xa2\xd0\xb4\xc8\xeb\xa1\xa3";
// "已将损坏的事件文件另存为：" (the damaged event file was kept as:)
inline constexpr char kDamagedKeptAs[] =
    "\xd2\xd1\xbd\xab\xcb\xf0\xbb\xb5\xb5\xc4\xca\xc2\xbc\xfe\xce\xc4\xbc\xfe\xc1\xed\xb4\xe6\xce\xaa\xa3"
    "\xba";
// "请确认此文件夹可以写入：" (please make sure this folder can be written:),
// after a save refused by the system.
inline constexpr char kFolderNotWritable[] =
    "\xc7\xeb\xc8\xb7\xc8\xcf\xb4\xcb\xce\xc4\xbc\xfe\xbc\xd0\xbf\xc9\xd2\xd4\xd0\xb4\xc8\xeb\xa3\xba";
// "有修改还没能写入事件文件，现在退出会丢失这些修改。\r\n仍要退出程序吗？"
// (some changes could not be written to the event file yet and are lost by
// exiting now. Exit anyway?)
inline constexpr char kExitLosesChanges[] =
    "\xd3\xd0\xd0\xde\xb8\xc4\xbb\xb9\xc3\xbb\xc4\xdc\xd0\xb4\xc8\xeb\xca\xc2\xbc\xfe\xce\xc4\xbc\xfe\xa3\xac"
    "\xcf\xd6\xd4\xda\xcd\xcb\xb3\xf6\xbb\xe1\xb6\xaa\xca\xa7\xd5\xe2\xd0\xa9\xd0\xde\xb8\xc4\xa1\xa3\r\n"
    "\xc8\xd4\xd2\xaa\xcd\xcb\xb3\xf6\xb3\xcc\xd0\xf2\xc2\xf0\xa3\xbf";
// "重复规则的修改还没能写入 repeat.ini，现在退出会丢失。\r\n仍要退出程序吗？"
// (the changes to repeat rules could not be written to repeat.ini yet and
// are lost by exiting now. Exit anyway?): event.dat holds every change.
inline constexpr char kExitLosesRuleChanges[] =
    "\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xb5\xc4\xd0\xde\xb8\xc4"              // 重复规则的修改
    "\xbb\xb9\xc3\xbb\xc4\xdc\xd0\xb4\xc8\xeb repeat.ini\xa3\xac"           // 还没能写入 repeat.ini，
    "\xcf\xd6\xd4\xda\xcd\xcb\xb3\xf6\xbb\xe1\xb6\xaa\xca\xa7\xa1\xa3\r\n"  // 现在退出会丢失。
    "\xc8\xd4\xd2\xaa\xcd\xcb\xb3\xf6\xb3\xcc\xd0\xf2\xc2\xf0\xa3\xbf";     // 仍要退出程序吗？    //
                                                                            // 仍要退出程序吗？
// "这件事情已被另一个程序删除。\r\n要把您填写的内容保存为一件新的事情吗？" (this
// event was deleted by another program. Keep what you entered as a new event?)
inline constexpr char kEditedEventGone[] =
    "\xd5\xe2\xbc\xfe\xca\xc2\xc7\xe9\xd2\xd1\xb1\xbb"                      // 这件事情已被
    "\xc1\xed\xd2\xbb\xb8\xf6\xb3\xcc\xd0\xf2\xc9\xbe\xb3\xfd\xa1\xa3\r\n"  // 另一个程序删除。
    "\xd2\xaa\xb0\xd1\xc4\xfa\xcc\xee\xd0\xb4\xb5\xc4\xc4\xda\xc8\xdd"      // 要把您填写的内容
    "\xb1\xa3\xb4\xe6\xce\xaa\xd2\xbb\xbc\xfe\xd0\xc2\xb5\xc4"              // 保存为一件新的
    "\xca\xc2\xc7\xe9\xc2\xf0\xa3\xbf";                                     // 事情吗？
// "无法读取重复规则文件：" (the repeat rule file could not be read:)
inline constexpr char kRepeatFileUnreadable[] =
    "\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xc4\xbc\xfe\xa3\xba";
// "无法保存重复规则文件：" (the repeat rule file could not be saved:)
inline constexpr char kRepeatFileNotSaved[] =
    "\xce\xde\xb7\xa8\xb1\xa3\xb4\xe6\xd6\xd8\xb8\xb4\xb9\xe6\xd4\xf2\xce\xc4\xbc\xfe\xa3\xba";
// "无法保存设置文件：" (the settings file could not be saved:)
inline constexpr char kSettingsSaveFailed[] =
    "\xce\xde\xb7\xa8\xb1\xa3\xb4\xe6\xc9\xe8\xd6\xc3\xce\xc4\xbc\xfe\xa3\xba";

// Pages on the update server: home and help.
inline constexpr char kHomePagePath[] = "/software/QXR_Vadududi/index.php";
inline constexpr char kHelpPagePath[] = "/bbs/viewthread.php?tid=305&extra=page=1";
