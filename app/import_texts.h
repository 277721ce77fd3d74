#pragma once
// The texts of importing a calendar file, in code page 936.

// "导入日历": the dialog's caption and the tray menu's entry.
inline constexpr char kImportCaption[] = "\xb5\xbc\xc8\xeb\xc8\xd5\xc0\xfa";
// "导入", "取消", "关闭": the dialog's buttons.
inline constexpr char kImportButton[] = "\xb5\xbc\xc8\xeb";
inline constexpr char kCancelButton[] = "\xc8\xa1\xcf\xfb";
inline constexpr char kCloseButton[] = "\xb9\xd8\xb1\xd5";

// "正在读取 " ... " ……" (reading the file ...)
inline constexpr char kReadingBefore[] = "\xd5\xfd\xd4\xda\xb6\xc1\xc8\xa1 ";
inline constexpr char kEllipsis[] = " \xa1\xad\xa1\xad";
// "正在导入 " (importing), and on the next line "已完成 " done / total.
inline constexpr char kImportingBefore[] = "\xd5\xfd\xd4\xda\xb5\xbc\xc8\xeb ";
inline constexpr char kDoneSoFar[] = "\xd2\xd1\xcd\xea\xb3\xc9 ";
// "无法导入日历文件 " name "：" (the calendar file cannot be imported:),
// then the reason, then "没有改变任何事件。" (no event was changed.)
inline constexpr char kCannotImport[] = "\xce\xde\xb7\xa8\xb5\xbc\xc8\xeb\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe ";
inline constexpr char kColon[] = "\xa3\xba";
inline constexpr char kNothingChanged[] =
    "\xc3\xbb\xd3\xd0\xb8\xc4\xb1\xe4\xc8\xce\xba\xce\xca\xc2\xbc\xfe\xa1\xa3";

// "正在导入另一个日历文件，请等它完成后再试。" (another calendar file is
// being imported; try again when it is done.)
inline constexpr char kImportBusy[] =
    "\xd5\xfd\xd4\xda\xb5\xbc\xc8\xeb\xc1\xed\xd2\xbb\xb8\xf6\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe\xa3\xac\xc7\xeb"
    "\xb5"
    "\xc8\xcb\xfc\xcd\xea\xb3\xc9\xba\xf3\xd4\xd9\xca\xd4\xa1\xa3";
// "正在导入日历，请等导入完成后再退出。" (a calendar is being imported;
// exit when it is done.)
inline constexpr char kImportBeforeExit[] =
    "\xd5\xfd\xd4\xda\xb5\xbc\xc8\xeb\xc8\xd5\xc0\xfa\xa3\xac\xc7\xeb\xb5\xc8\xb5\xbc\xc8\xeb\xcd\xea\xb3\xc9"
    "\xba"
    "\xf3\xd4\xd9\xcd\xcb\xb3\xf6\xa1\xa3";
// "日历文件(*.ics)|*.ics|所有文件(*.*)|*.*|": the open dialog's filter.
inline constexpr char kCalendarFileFilter[] =
    "\xc8\xd5\xc0\xfa\xce\xc4\xbc\xfe(*.ics)|*.ics|\xcb\xf9\xd3\xd0\xce\xc4\xbc\xfe(*.*)|*.*|";
// "这个文件的路径含有无法显示的字符，请把它移到别的文件夹后再导入。" (the
// file's path holds characters that cannot be shown; move it to another
// folder and import it from there.)
inline constexpr char kPathNotShown[] =
    "\xd5\xe2\xb8\xf6\xce\xc4\xbc\xfe\xb5\xc4\xc2\xb7\xbe\xb6\xba\xac\xd3\xd0\xce\xde\xb7\xa8\xcf\xd4\xca\xbe"
    "\xb5"
    "\xc4\xd7\xd6\xb7\xfb\xa3\xac\xc7\xeb\xb0\xd1\xcb\xfc\xd2\xc6\xb5\xbd\xb1\xf0\xb5\xc4\xce\xc4\xbc\xfe\xbc"
    "\xd0"
    "\xba\xf3\xd4\xd9\xb5\xbc\xc8\xeb\xa1\xa3";
// "系统资源不足，无法开始导入。" (the system is short of resources; the
// import cannot start.)
inline constexpr char kNoWorker[] =
    "\xcf\xb5\xcd\xb3\xd7\xca\xd4\xb4\xb2\xbb\xd7\xe3\xa3\xac\xce\xde\xb7\xa8\xbf\xaa\xca\xbc\xb5\xbc\xc8\xeb"
    "\xa1"
    "\xa3";
// "无法读取这个文件：" (this file cannot be read:), before the system's reason.
inline constexpr char kCannotReadFile[] =
    "\xce\xde\xb7\xa8\xb6\xc1\xc8\xa1\xd5\xe2\xb8\xf6\xce\xc4\xbc\xfe\xa3\xba";
