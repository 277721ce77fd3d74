#include <windows.h>

#include "caldav/testing/digest_support.h"

bool TransportSpeaksDigest() {
  // Wine announces itself through an export of its ntdll.
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return !(ntdll && GetProcAddress(ntdll, "wine_get_version"));
}
