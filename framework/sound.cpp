#include "framework/sound.h"

#include <windows.h>

#include "framework/text_boundary.h"

namespace {

// sndPlaySoundW of winmm.dll.
using PlayFunction = BOOL(WINAPI*)(LPCWSTR sound, UINT flags);
constexpr UINT kAsync = 0x0001;  // SND_ASYNC

PlayFunction Player() {
  // Loaded once and kept: the library stays for the rest of the run.
  static const PlayFunction play = [] {
    HMODULE library = LoadLibraryW(L"winmm.dll");
    return library == nullptr ? nullptr
                              : reinterpret_cast<PlayFunction>(
                                    reinterpret_cast<void*>(GetProcAddress(library, "sndPlaySoundW")));
  }();
  return play;
}

}  // namespace

bool PlaySoundFileAsync(std::string_view path) {
  const PlayFunction play = Player();
  if (play == nullptr) return false;
  play(win::Widen(path).c_str(), kAsync);
  return true;
}
