#include "gfx/SpriteParts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/SaturatingInt.h"
#include "gfx/Texture.h"

namespace {

// Far beyond any screen, yet small enough that sums of such values stay inside an int.
constexpr int kFarOffScreen = 1000000;

std::vector<SpriteCall>* recorder = nullptr;
SpriteFrame* frameRecorder = nullptr;

}  // namespace

// Unlike saturatingInt, NaN goes far off the screen's top-left, not to its corner.
int toPixel(double value) {
    if (std::isnan(value)) {
        return -kFarOffScreen;
    }
    return std::clamp(saturatingInt(value), -kFarOffScreen, kFarOffScreen);
}

int pixelSum(int a, int b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum < -kFarOffScreen) {
        return -kFarOffScreen;
    }
    return sum > kFarOffScreen ? kFarOffScreen : static_cast<int>(sum);
}

float colourComponent(double intensity) {
    if (!(intensity > 0.0)) {
        return 0.0f;
    }
    return intensity >= 1.0 ? 1.0f : static_cast<float>(intensity);
}

bool isUnturned(const oglTexture2D* texture) {
    return texture == nullptr || texture->angle == 0.0f;
}

void setSpriteRecorder(std::vector<SpriteCall>* newRecorder) {
    recorder = newRecorder;
    frameRecorder = nullptr;
}

void setFrameRecorder(SpriteFrame* frame) {
    frameRecorder = frame;
    recorder = frame != nullptr ? &frame->calls : nullptr;
}

bool isRecordingSprites() {
    return recorder != nullptr;
}

bool isRecordingFrame() {
    return frameRecorder != nullptr;
}

bool recordedScreenIsBlack() {
    return frameRecorder == nullptr || frameRecorder->clearedBlack;
}

void recordLayer(SpriteFrame::Part part) {
    if (frameRecorder == nullptr) {
        return;
    }
    std::vector<SpriteFrame::Run>& runs = frameRecorder->runs;
    // A layer that drew nothing leaves no run behind.
    if (!runs.empty() && runs.back().count == 0) {
        runs.back().part = part;
        return;
    }
    runs.push_back({part, 0});
}

bool recordSprite(const SpriteCall& call, SpriteFrame::Part part) {
    if (recorder == nullptr) {
        return false;
    }
    recorder->push_back(call);
    if (frameRecorder != nullptr) {
        std::vector<SpriteFrame::Run>& runs = frameRecorder->runs;
        if (part == SpriteFrame::Part::Sprites && !runs.empty() && runs.back().count == 0) {
            runs.back().part = part;
        }
        // Lone sprites in a row make one run; a layer's cells go to the run it began.
        if (runs.empty() || (part == SpriteFrame::Part::Sprites && runs.back().part != part)) {
            runs.push_back({part, 0});
        }
        ++runs.back().count;
    }
    return true;
}
