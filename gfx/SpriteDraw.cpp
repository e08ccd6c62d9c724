#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "gfx/Screen.h"
#include "gfx/Sprite.h"
#include "gfx/SpriteCover.h"
#include "gfx/SpriteParts.h"
#include "gfx/Texture.h"

namespace {

void bindTexture(const oglTexture2D* texture) {
    glBindTexture(GL_TEXTURE_2D, texture == nullptr ? 0 : texture->textureId);
}

float angleOf(const oglTexture2D* texture) {
    return texture == nullptr ? 0.0f : texture->angle;
}

// A quad that the projection clips away entirely puts no pixel on the screen, so it needs no
// GL at all. Only unturned quads are judged: a turned one may swing into view.
bool isWhollyOffScreen(const oglTexture2D* texture, const SpriteCall& call) {
    return isUnturned(texture) && (std::max(call.left, call.right) <= 0 ||
                                   std::min(call.left, call.right) >= screen::kWidth ||
                                   std::max(call.top, call.bottom) <= 0 ||
                                   std::min(call.top, call.bottom) >= screen::kHeight);
}

// The screen's corners as the window's pixels place them. The picture is scaled onto the
// window by the viewport, so a whole screen pixel lands between window pixels and the first
// window pixel of a quad may sample the picture anywhere within its first texel column, which
// for the floor is a darker line: each scaled frame would show it on other tile edges. Put on
// the window's pixel grid, every edge pixel samples half a window pixel inside, as at the
// screen's own size, where this changes no coordinate. Neighbours share their corners still.
struct WindowGrid {
    double scaleX = 1.0;
    double scaleY = 1.0;

    static WindowGrid ofViewport() {
        GLint viewport[4] = {0, 0, screen::kWidth, screen::kHeight};
        glGetIntegerv(GL_VIEWPORT, viewport);
        WindowGrid grid;
        if (viewport[2] > 0 && viewport[3] > 0) {
            grid.scaleX = double(viewport[2]) / screen::kWidth;
            grid.scaleY = double(viewport[3]) / screen::kHeight;
        }
        return grid;
    }

    GLfloat x(int screen) const { return snap(screen, scaleX); }
    GLfloat y(int screen) const { return snap(screen, scaleY); }

private:
    static GLfloat snap(int screen, double scale) {
        return GLfloat(std::round(screen * scale) / scale);
    }
};

// Texture coordinate (0, 0) goes on the top-left corner, so pictures show upright. A quad, not
// a polygon: the browser build's GL emulation draws nothing for a textured GL_POLYGON. The
// corners start at the top-right one: Mesa cuts a quad (0 1 2 3) into the triangles (0 1 3) and
// (1 2 3), and a polygon (0 1 2 3) into (1 2 0) and (2 3 0), so this order gives the very
// triangles, vertex for vertex, that the polygon starting at the top-left corner gave, and
// every pixel stays as it was (the pixel fingerprints of dromlin-frames prove it).
void emitQuad(const SpriteCall& call) {
    const WindowGrid window = WindowGrid::ofViewport();
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(window.x(call.right), window.y(call.top));
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(window.x(call.right), window.y(call.bottom));
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(window.x(call.left), window.y(call.bottom));
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(window.x(call.left), window.y(call.top));
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

bool isOpaque(const oglTexture2D* texture) {
    return texture != nullptr && texture->opaque;
}

bool isBlack(const oglTexture2D* texture) {
    return texture != nullptr && texture->black;
}

// Switches a GL capability off while a draw does not need it, and back on afterwards.
//
// The blend: an opaque picture at full colour replaces what is under it exactly, so it is drawn
// without the blend, which would read back every pixel underneath for nothing.
// The texture: a faded black picture is its colour. Every texel it would sample is (0, 0, 0, 1),
// so the colour (0, 0, 0, shade) alone gives the very same fragments, without sampling a texture
// for each pixel (most of the work of filling the fog).
class CapabilityOff {
public:
    CapabilityOff(GLenum which, bool needless)
        : capability(which), active(needless && glIsEnabled(which) == GL_TRUE) {
        if (active) {
            glDisable(capability);
        }
    }
    ~CapabilityOff() {
        if (active) {
            glEnable(capability);
        }
    }
    CapabilityOff(const CapabilityOff&) = delete;
    CapabilityOff& operator=(const CapabilityOff&) = delete;

private:
    const GLenum capability;
    const bool active;
};

// Quads gathered for one texture, sent to the GL in one call.
struct Batch {
    const oglTexture2D* texture = nullptr;
    // Floats, since WebGL has no integer vertices; every screen coordinate (within a million
    // of the screen) is exact in a float, as it is when GL converts glVertex2i.
    std::vector<GLfloat> vertices;
    std::vector<GLfloat> texCoords;
    std::vector<GLfloat> colours;

    // The window's pixel grid, read once for the batch: a layer is gathered within one frame.
    WindowGrid window = WindowGrid::ofViewport();

    void add(const SpriteCall& call) {
        // The corners in emitQuad's order, so that each quad makes the same triangles.
        const GLfloat corners[8] = {window.x(call.right), window.y(call.top),
                                    window.x(call.right), window.y(call.bottom),
                                    window.x(call.left),  window.y(call.bottom),
                                    window.x(call.left),  window.y(call.top)};
        static constexpr GLfloat kTexCoords[8] = {1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f};
        vertices.insert(vertices.end(), corners, corners + 8);
        texCoords.insert(texCoords.end(), kTexCoords, kTexCoords + 8);
    }

    // A black picture's colour is black whatever the shade (see CapabilityOff).
    void addFaded(const SpriteCall& call, float shade) {
        add(call);
        const float brightness = isBlack(texture) ? 0.0f : shade;
        for (int corner = 0; corner < 4; ++corner) {
            colours.insert(colours.end(), {brightness, brightness, brightness, shade});
        }
    }

    // Client-side vertex arrays of OpenGL 1.1, drawn as GL_QUADS.
    void send() const {
        if (vertices.empty()) {
            return;
        }
        const CapabilityOff blendOff(GL_BLEND, colours.empty() && isOpaque(texture));
        const CapabilityOff textureOff(GL_TEXTURE_2D, !colours.empty() && isBlack(texture));
        bindTexture(texture);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, 0, vertices.data());
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
        if (!colours.empty()) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(4, GL_FLOAT, 0, colours.data());
        } else {
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        }
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices.size() / 2));
        if (!colours.empty()) {
            glDisableClientState(GL_COLOR_ARRAY);
        }
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }

    void clear() {
        window = WindowGrid::ofViewport();
        vertices.clear();
        texCoords.clear();
        colours.clear();
    }
};

SpriteCall cellCall(const CellGrid& grid, const oglTexture2D* texture, bool faded, double intensity,
                    int x, int y) {
    return {texture,          faded,          intensity, grid.left[x], grid.top[y],
            grid.left[x + 1], grid.top[y + 1]};
}

// A recorded frame holds only what reaches the GL: on the larger maps most of a layer's cells
// lie off the screen, and a record of them all would be compared in every frame.
bool isLeftOutOfFrame(const SpriteCall& call) {
    return isRecordingFrame() && isWhollyOffScreen(call.texture, call);
}

// A lone sprite that the cover hides, or that the recorder takes, reaches no GL call.
bool isSettledBeforeGL(const oglTexture2D* texture, const SpriteCall& call) {
    if (isHiddenByCover(texture, call, false)) {
        return true;
    }
    noteDrawnUnderCover(texture, call);
    return isLeftOutOfFrame(call) || recordSprite(call);
}

// What drawSprite or drawSpriteFaded (call.faded) sends to the GL for a call that passed the
// cuts.
void emitLoneSprite(const SpriteCall& call) {
    const oglTexture2D* texture = call.texture;
    if (!call.faded) {
        if (isWhollyOffScreen(texture, call)) {
            return;
        }
        const CapabilityOff blendOff(GL_BLEND, isOpaque(texture));
        bindTexture(texture);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        emitTurnedQuad(texture, call);
        return;
    }
    if (isWhollyOffScreen(texture, call)) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        return;
    }
    const float shade = colourComponent(call.intensity);
    bindTexture(texture);
    glColor4f(shade, shade, shade, shade);
    emitTurnedQuad(texture, call);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// Sends one cell that passed the cuts: on its own when turned, else into the batch of its
// texture, which has a colour for every quad or for none (`faded`: a faded layer's batch).
void gatherCell(const SpriteCall& call, bool faded, float shade, Batch& batch) {
    if (isWhollyOffScreen(call.texture, call)) {
        return;
    }
    if (!isUnturned(call.texture)) {
        bindTexture(call.texture);
        glColor4f(shade, shade, shade, shade);
        emitTurnedQuad(call.texture, call);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        return;
    }
    if (faded) {
        batch.addFaded(call, shade);
    } else {
        batch.add(call);
    }
}

// The cells of a tile layer that passed the cuts, one batch per picture, sent in the order
// the pictures first appear. Cells do not overlap, so the order in which they reach the
// screen does not matter.
void sendTileCells(const SpriteCall* cells, std::size_t count) {
    static std::vector<Batch> batches;
    for (Batch& batch : batches) {
        batch.clear();
    }
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const SpriteCall& call = cells[i];
        std::size_t b = 0;
        while (b < used && batches[b].texture != call.texture) {
            ++b;
        }
        if (b == used) {
            if (used == batches.size()) {
                batches.emplace_back();
            }
            batches[used].texture = call.texture;
            ++used;
        }
        gatherCell(call, false, 1.0f, batches[b]);
    }
    for (std::size_t b = 0; b < used; ++b) {
        batches[b].send();
    }
}

// The cells of a faded layer of one picture that passed the cuts, in one batch.
void sendFadedCells(const oglTexture2D* picture, const SpriteCall* cells, std::size_t count) {
    static Batch batch;
    batch.clear();
    batch.texture = picture;
    for (std::size_t i = 0; i < count; ++i) {
        gatherCell(cells[i], true, colourComponent(cells[i].intensity), batch);
    }
    batch.send();
}

// A layer's cells that passed the cuts, kept until the layer is sent when nothing records.
std::vector<SpriteCall>& keptCells() {
    static std::vector<SpriteCall> cells;
    return cells;
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
    if (!isSettledBeforeGL(texture, call)) {
        emitLoneSprite(call);
    }
    return true;
}

// Each edge is truncated on its own, from the sum formed in double: x = 10.7 with width
// 20.6 spans 10 to 31, not 10 to 30.
bool drawSpriteFaded(const oglTexture2D* texture, double intensity, double width, double height,
                     double x, double y) {
    const SpriteCall call{
        texture, true, intensity, toPixel(x), toPixel(y), toPixel(x + width), toPixel(y + height)};
    if (!isSettledBeforeGL(texture, call)) {
        emitLoneSprite(call);
    }
    return true;
}

void drawTileLayer(const CellGrid& grid, const std::vector<const oglTexture2D*>& pictures,
                   bool underRemembered) {
    recordLayer(SpriteFrame::Part::TileLayer);
    std::vector<SpriteCall>& kept = keptCells();
    kept.clear();
    const int columns = grid.columns();
    const int rows = grid.rows();
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            const oglTexture2D* texture = pictures[static_cast<std::size_t>(x) * rows + y];
            if (texture == nullptr) {
                continue;
            }
            const SpriteCall call = cellCall(grid, texture, false, 1.0, x, y);
            if (isHiddenByCover(texture, call, underRemembered)) {
                continue;
            }
            noteDrawnUnderCover(texture, call);
            if (!isLeftOutOfFrame(call) && !recordSprite(call, SpriteFrame::Part::TileLayer)) {
                kept.push_back(call);
            }
        }
    }
    if (!isRecordingSprites()) {
        sendTileCells(kept.data(), kept.size());
    }
}

void drawFadedLayer(const CellGrid& grid, const oglTexture2D* picture,
                    const std::vector<double>& intensities) {
    recordLayer(SpriteFrame::Part::FadedLayer);
    std::vector<SpriteCall>& kept = keptCells();
    kept.clear();
    // The announced fog is what covers; it is not covered by itself.
    const bool isTheFog = isAnnouncedFog(grid, intensities);
    const int columns = grid.columns();
    const int rows = grid.rows();
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            const std::size_t cell = static_cast<std::size_t>(x) * rows + y;
            const double intensity = intensities[cell];
            // No alpha: the blend leaves every pixel as it was.
            if (colourComponent(intensity) == 0.0f) {
                continue;
            }
            const SpriteCall call = cellCall(grid, picture, true, intensity, x, y);
            if (isTheFog) {
                // Opaque black over the cleared screen that nothing was drawn on: black stays.
                if (fogCellChangesNothing(cell)) {
                    continue;
                }
            } else if (isHiddenByCover(picture, call, false)) {
                continue;
            } else {
                noteDrawnUnderCover(picture, call);
            }
            if (!isLeftOutOfFrame(call) && !recordSprite(call, SpriteFrame::Part::FadedLayer)) {
                kept.push_back(call);
            }
        }
    }
    if (!isRecordingSprites()) {
        sendFadedCells(picture, kept.data(), kept.size());
    }
}

void drawRecordedFrame(const SpriteFrame& frame) {
    std::size_t first = 0;
    for (const SpriteFrame::Run& run : frame.runs) {
        // A run beyond the calls (a frame not made by the recorder) draws what there is.
        const std::size_t count = std::min(run.count, frame.calls.size() - first);
        const SpriteCall* calls = frame.calls.data() + first;
        switch (run.part) {
            case SpriteFrame::Part::Sprites:
                for (std::size_t i = 0; i < count; ++i) {
                    emitLoneSprite(calls[i]);
                }
                break;
            case SpriteFrame::Part::TileLayer:
                sendTileCells(calls, count);
                break;
            case SpriteFrame::Part::FadedLayer:
                if (count > 0) {
                    sendFadedCells(calls[0].texture, calls, count);
                }
                break;
        }
        first += count;
    }
}
