#pragma once
// What one mouse-wheel message asks of the grid, and how many lines one
// notch scrolls.
#include <optional>
#include <string_view>

namespace grid {

// The system's "one page per notch" setting (WHEEL_PAGESCROLL).
inline constexpr unsigned kWheelPageScroll = 0xFFFFFFFFu;
inline constexpr int kWheelDelta = 120;  // one notch

struct WheelScroll {
  int count = 0;      // how many scroll requests
  bool up = false;    // toward the top (wheel turned away from the user)
  bool page = false;  // page requests instead of line requests
};

// delta x lines / 120 line requests (delta / 120 page requests with the page
// setting), up for a positive delta, down for a negative one. A notch of 120
// gives exactly that; finer wheels and touchpads send smaller deltas, whose
// leftover is kept in *carry so that they scroll too instead of being lost
// to the integer division. *carry starts at 0 and belongs to one window.
WheelScroll ComputeWheelScroll(int delta, unsigned lines_per_notch, int* carry);

// Lines per notch: the system's setting when it can be read, else the
// registry text "WheelScrollLines" (a decimal number), else 3.
unsigned ChooseWheelLines(std::optional<unsigned> system_setting,
                          std::optional<std::string_view> registry_text);

}  // namespace grid
