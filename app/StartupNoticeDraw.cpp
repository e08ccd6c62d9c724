#include <GL/freeglut.h>

#include <string>

#include "app/StartupNotice.h"
#include "gfx/Screen.h"

namespace {

constexpr int kLeft = 64;
constexpr int kLineHeight = 26;
constexpr int kBaselineOffset = 18;

// Dark grey on paper: readable on any display, and nothing like the battle's black field
// or an untextured white one.
void drawBackground() {
    glColor4f(0.93f, 0.91f, 0.86f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(screen::kWidth, 0);
    glVertex2i(screen::kWidth, screen::kHeight);
    glVertex2i(0, screen::kHeight);
    glEnd();
}

void drawLine(const std::string& line, int top) {
    // The raster position takes the colour current when it is set.
    glRasterPos2i(kLeft, top + kBaselineOffset);
    glutBitmapString(GLUT_BITMAP_HELVETICA_18,
                     reinterpret_cast<const unsigned char*>(line.c_str()));
}

}  // namespace

void drawStartupNotice(const std::vector<std::string>& lines) {
    const GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    drawBackground();
    glColor4f(0.12f, 0.12f, 0.14f, 1.0f);
    const int height = static_cast<int>(lines.size()) * kLineHeight;
    int top = (screen::kHeight - height) / 2;
    for (const std::string& line : lines) {
        drawLine(line, top);
        top += kLineHeight;
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (textured) {
        glEnable(GL_TEXTURE_2D);
    }
}
