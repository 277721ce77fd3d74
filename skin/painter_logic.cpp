#include "skin/painter_logic.h"

namespace skin {

PixelRect CenteredTextRect(const PixelRect& area, int text_width, int text_height) {
  // C++ integer division truncates toward zero, also for a negative free space.
  const int free_width = area.width() - text_width;
  const int free_height = area.height() - text_height;
  return PixelRect{area.left + free_width / 2, area.top + free_height / 2, area.right - free_width / 2,
                   area.bottom - free_height / 2};
}

}  // namespace skin
