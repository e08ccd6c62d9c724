#include <GL/gl.h>

#include <cstddef>
#include <vector>

#include "gfx/Sprite.h"
#include "gfx/SpriteParts.h"
#include "gfx/Texture.h"

namespace {

void bindTexture(const oglTexture2D* texture) {
    glBindTexture(GL_TEXTURE_2D, texture == nullptr ? 0 : texture->textureId);
}

// No texture is ever turned; one that were would turn about the rectangle's centre.
void pushRotation(const oglTexture2D* texture, const SpriteCall& call) {
    glPushMatrix();
    const float angle = texture == nullptr ? 0.0f : texture->angle;
    if (angle == 0.0f) {
        return;
    }
    const double centreX = (call.left + static_cast<double>(call.right)) / 2.0;
    const double centreY = (call.top + static_cast<double>(call.bottom)) / 2.0;
    glTranslated(centreX, centreY, 0.0);
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    glTranslated(-centreX, -centreY, 0.0);
}

// Texture coordinate (0, 0) goes on the top-left corner, so pictures show upright. Ends the
// matrix scope that pushRotation opened.
void emitQuad(const SpriteCall& call) {
    glBegin(GL_POLYGON);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(call.left, call.top);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2i(call.right, call.top);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(call.right, call.bottom);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(call.left, call.bottom);
    glEnd();
    glPopMatrix();
}

// What drawSprite or drawSpriteFaded (call.faded) sends to the GL for a call not recorded.
void emitSprite(const SpriteCall& call) {
    bindTexture(call.texture);
    const float shade = call.faded ? colourComponent(call.intensity) : 1.0f;
    glColor4f(shade, shade, shade, shade);
    pushRotation(call.texture, call);
    emitQuad(call);
    if (call.faded) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
}

}  // namespace

bool drawSprite(const oglTexture2D* texture, int width, int height, int x, int y) {
    const SpriteCall call{texture,
                          false,
                          1.0,
                          pixelSum(x, 0),
                          pixelSum(y, 0),
                          pixelSum(x, width),
                          pixelSum(y, height)};
    if (!recordSprite(call)) {
        emitSprite(call);
    }
    return true;
}

// Each edge is truncated on its own, from the sum formed in double: x = 10.7 with width
// 20.6 spans 10 to 31, not 10 to 30.
bool drawSpriteFaded(const oglTexture2D* texture, double intensity, double width, double height,
                     double x, double y) {
    const SpriteCall call{
        texture, true, intensity, toPixel(x), toPixel(y), toPixel(x + width), toPixel(y + height)};
    if (!recordSprite(call)) {
        emitSprite(call);
    }
    return true;
}

// The plain build draws every cell of a layer as a sprite of its own, column by column, and
// leaves nothing out.
void drawTileLayer(const CellGrid& grid, const std::vector<const oglTexture2D*>& pictures, bool) {
    const int rows = grid.rows();
    for (int x = 0; x < grid.columns(); ++x) {
        for (int y = 0; y < rows; ++y) {
            const oglTexture2D* texture = pictures[static_cast<std::size_t>(x) * rows + y];
            if (texture == nullptr) {
                continue;
            }
            drawSprite(texture, grid.left[x + 1] - grid.left[x], grid.top[y + 1] - grid.top[y],
                       grid.left[x], grid.top[y]);
        }
    }
}

void drawFadedLayer(const CellGrid& grid, const oglTexture2D* picture,
                    const std::vector<double>& intensities) {
    const int rows = grid.rows();
    for (int x = 0; x < grid.columns(); ++x) {
        for (int y = 0; y < rows; ++y) {
            drawSpriteFaded(picture, intensities[static_cast<std::size_t>(x) * rows + y],
                            grid.left[x + 1] - grid.left[x], grid.top[y + 1] - grid.top[y],
                            grid.left[x], grid.top[y]);
        }
    }
}

// Every call on its own, in order, whatever run it was recorded in.
void drawRecordedFrame(const SpriteFrame& frame) {
    for (const SpriteCall& call : frame.calls) {
        emitSprite(call);
    }
}
