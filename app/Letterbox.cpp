#include "app/Letterbox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gfx/Screen.h"

namespace {

constexpr double kFarOffScreen = 1000000.0;

// The screen coordinate under the centre of window pixel `pixel`, floored so that the bar
// before the picture maps below 0.
int toScreen(int pixel, int barSize, int pictureSize, int screenSize) {
    if (pictureSize <= 0) {
        return static_cast<int>(-kFarOffScreen);
    }
    const double screen = std::floor((pixel + 0.5 - barSize) * screenSize / pictureSize);
    return static_cast<int>(std::clamp(screen, -kFarOffScreen, kFarOffScreen));
}

}  // namespace

Letterbox fitScreen(int windowWidth, int windowHeight) {
    const int64_t width = std::max(windowWidth, 0);
    const int64_t height = std::max(windowHeight, 0);
    Letterbox box;
    if (width * screen::kHeight <= height * screen::kWidth) {
        box.width = static_cast<int>(width);
        box.height =
            static_cast<int>((width * screen::kHeight + screen::kWidth / 2) / screen::kWidth);
    } else {
        box.height = static_cast<int>(height);
        box.width =
            static_cast<int>((height * screen::kWidth + screen::kHeight / 2) / screen::kHeight);
    }
    box.left = static_cast<int>((width - box.width) / 2);
    box.top = static_cast<int>((height - box.height) / 2);
    return box;
}

int windowToScreenX(const Letterbox& box, int windowX) {
    return toScreen(windowX, box.left, box.width, screen::kWidth);
}

int windowToScreenY(const Letterbox& box, int windowY) {
    return toScreen(windowY, box.top, box.height, screen::kHeight);
}
