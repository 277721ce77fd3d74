#pragma once
// Test support: a top-level window that hosts a grid and records what the
// grid tells it, plus helpers to pump messages and hold keys down.
#include <windows.h>

#include <initializer_list>
#include <vector>

#include "framework/window.h"
#include "grid/grid_ctrl.h"

struct RecordedNotify {
  UINT_PTR id;
  int code;
  int row;
  int col;
};

class GridTestHost : public Window {
 public:
  // A visible top-level window with a client area of at least width x height.
  bool Open(int width, int height);
  // Creates `grid` as child 1005 with the given client size.
  bool AddGrid(CGridCtrl& grid, int client_width, int client_height);

  std::vector<RecordedNotify> notifications;
  std::vector<WPARAM> commands;  // WM_COMMAND wparams from the grid
  std::vector<int> Codes() const;
  void Clear() {
    notifications.clear();
    commands.clear();
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
};

// Handles every message waiting for this thread.
void PumpMessages();

// Holds keys down in this thread's keyboard state while alive.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys);
  ~HeldKeys();
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  BYTE saved_[256];
};

// Mouse and key messages as the system would deliver them.
void Click(HWND hwnd, int x, int y, UINT extra_flags = 0);
void DoubleClick(HWND hwnd, int x, int y);
void RightClick(HWND hwnd, int x, int y);
void PressKey(HWND hwnd, UINT key);

// Renders the grid's client area as its paint would into a 32-bit bitmap
// and reads pixels back from it.
class GridSnapshot {
 public:
  explicit GridSnapshot(HWND grid);
  ~GridSnapshot();
  COLORREF Pixel(int x, int y) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;
};
