#include "app/Letterbox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
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
    if (width * kScreenHeight <= height * kScreenWidth) {
        box.width = static_cast<int>(width);
        box.height = static_cast<int>((width * kScreenHeight + kScreenWidth / 2) / kScreenWidth);
    } else {
        box.height = static_cast<int>(height);
        box.width = static_cast<int>((height * kScreenWidth + kScreenHeight / 2) / kScreenHeight);
    }
    box.left = static_cast<int>((width - box.width) / 2);
    box.top = static_cast<int>((height - box.height) / 2);
    return box;
}

int windowToScreenX(const Letterbox& box, int windowX) {
    return toScreen(windowX, box.left, box.width, kScreenWidth);
}

int windowToScreenY(const Letterbox& box, int windowY) {
    return toScreen(windowY, box.top, box.height, kScreenHeight);
}
