#include "app/ShownFrame.h"

#include <utility>

bool ShownFrame::needsDrawing(const std::function<void()>& drawFrame, bool clearedBlack) {
    recorded.calls.clear();
    recorded.runs.clear();
    recorded.clearedBlack = clearedBlack;
    setFrameRecorder(&recorded);
    drawFrame();
    setFrameRecorder(nullptr);
    if (!lost && recorded == shown) {
        return false;
    }
    // Swapped rather than copied: both keep their memory from frame to frame.
    std::swap(shown, recorded);
    lost = false;
    return true;
}
