#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gfx/Sprite.h"
#include "gfx/Texture.h"

namespace {

// Far beyond any screen, yet small enough that sums of such values stay inside an int.
constexpr int kFarOffScreen = 1000000;
// The fixed projection's logical screen.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

std::vector<SpriteCall>* recorder = nullptr;

// Sum of two ints without overflow, held within the far off-screen bounds.
int pixelSum(int a, int b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum < -kFarOffScreen) {
        return -kFarOffScreen;
    }
    return sum > kFarOffScreen ? kFarOffScreen : static_cast<int>(sum);
}

// Out-of-range colours are clamped by OpenGL anyway; clamping first keeps the conversion to
// float defined for any double.
float colourComponent(double intensity) {
    if (!(intensity > 0.0)) {
        return 0.0f;
    }
    return intensity >= 1.0 ? 1.0f : static_cast<float>(intensity);
}

void bindTexture(const oglTexture2D* texture) {
    glBindTexture(GL_TEXTURE_2D, texture == nullptr ? 0 : texture->textureId);
}

float angleOf(const oglTexture2D* texture) {
    return texture == nullptr ? 0.0f : texture->angle;
}

// A quad that the projection clips away entirely puts no pixel on the screen, so it needs no
// GL at all. Only unturned quads are judged: a turned one may swing into view.
bool isWhollyOffScreen(const oglTexture2D* texture, const SpriteCall& call) {
    return angleOf(texture) == 0.0f && (std::max(call.left, call.right) <= 0 ||
                                        std::min(call.left, call.right) >= kScreenWidth ||
                                        std::max(call.top, call.bottom) <= 0 ||
                                        std::min(call.top, call.bottom) >= kScreenHeight);
}

// Texture coordinate (0, 0) goes on the top-left corner, so pictures show upright. A quad,
// which the browser's GL emulation draws too, starting at the top-right corner: Mesa then cuts
// it into the very triangles it cut the polygon drawn here before, so every pixel stays put.
void emitQuad(const SpriteCall& call) {
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2i(call.right, call.top);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(call.right, call.bottom);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(call.left, call.bottom);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(call.left, call.top);
    glEnd();
}

// No texture is ever turned; one that were would turn about the rectangle's centre. An unturned
// quad leaves the matrix alone: every matrix change makes the GL flush what it has gathered.
void emitTurnedQuad(const oglTexture2D* texture, const SpriteCall& call) {
    const float angle = angleOf(texture);
    if (angle == 0.0f) {
        emitQuad(call);
        return;
    }
    const double centreX = (call.left + static_cast<double>(call.right)) / 2.0;
    const double centreY = (call.top + static_cast<double>(call.bottom)) / 2.0;
    glPushMatrix();
    glTranslated(centreX, centreY, 0.0);
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    glTranslated(-centreX, -centreY, 0.0);
    emitQuad(call);
    glPopMatrix();
}

}  // namespace

int toPixel(double value) {
    if (std::isnan(value) || value <= -kFarOffScreen) {
        return -kFarOffScreen;
    }
    if (value >= kFarOffScreen) {
        return kFarOffScreen;
    }
    return static_cast<int>(value);
}

void setSpriteRecorder(std::vector<SpriteCall>* newRecorder) {
    recorder = newRecorder;
}

bool drawSprite(const oglTexture2D* texture, int width, int height, int x, int y) {
    const SpriteCall call{texture,
                          false,
                          1.0,
                          pixelSum(x, 0),
                          pixelSum(y, 0),
                          pixelSum(x, width),
                          pixelSum(y, height)};
    if (recorder != nullptr) {
        recorder->push_back(call);
        return true;
    }
    if (isWhollyOffScreen(texture, call)) {
        return true;
    }
    bindTexture(texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    emitTurnedQuad(texture, call);
    return true;
}

// Each edge is truncated on its own, from the sum formed in double: x = 10.7 with width
// 20.6 spans 10 to 31, not 10 to 30.
bool drawSpriteFaded(const oglTexture2D* texture, double intensity, double width, double height,
                     double x, double y) {
    const SpriteCall call{
        texture, true, intensity, toPixel(x), toPixel(y), toPixel(x + width), toPixel(y + height)};
    if (recorder != nullptr) {
        recorder->push_back(call);
        return true;
    }
    if (isWhollyOffScreen(texture, call)) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        return true;
    }
    const float shade = colourComponent(intensity);
    bindTexture(texture);
    glColor4f(shade, shade, shade, shade);
    emitTurnedQuad(texture, call);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    return true;
}
