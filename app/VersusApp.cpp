#include "app/VersusApp.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <iostream>
#include <utility>

#include "gfx/Screen.h"

namespace {

constexpr int kTop = 64;  // below the banner
constexpr int kLeft = 16;
constexpr int kLineHeight = 26;
constexpr int kBaselineOffset = 19;
constexpr int kPadding = 8;

int64_t millisOf(int64_t micros) {
    return micros / 1000;
}

int widestLine(const std::vector<std::string>& lines) {
    int widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest,
                          glutBitmapLength(GLUT_BITMAP_HELVETICA_18,
                                           reinterpret_cast<const unsigned char*>(line.c_str())));
    }
    return widest;
}

}  // namespace

VersusApp::VersusApp(int& argc, char** argv, const char* title, int width, int height,
                     std::unique_ptr<MessageLink> link, VersusPlay::Settings settings)
    : dromlin1App(argc, argv, title, width, height) {
    play = std::make_unique<VersusPlay>(std::move(link), std::move(settings), stateManager,
                                        *playState(), std::cerr, millisOf(steadyMicros()));
}

int VersusApp::runDueSteps() {
    const int64_t now = steadyMicros();
    play->pump(millisOf(now));
    const int steps = pace.takeDueSteps(now);
    play->runSteps(steps, millisOf(now));
    return steps;
}

bool VersusApp::overlayChanged() {
    std::vector<std::string> lines = play->screenLines(millisOf(steadyMicros()));
    if (lines == shownLines) {
        return false;
    }
    shownLines = std::move(lines);
    return true;
}

void VersusApp::drawOverlay() {
    drawScreenLines(shownLines);
}

void drawScreenLines(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    const GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    const int right = std::min(screen::kWidth, kLeft + widestLine(lines) + kPadding);
    const int bottom = kTop + static_cast<int>(lines.size()) * kLineHeight + kPadding;
    glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
    glBegin(GL_QUADS);
    glVertex2i(kLeft - kPadding, kTop);
    glVertex2i(right, kTop);
    glVertex2i(right, bottom);
    glVertex2i(kLeft - kPadding, bottom);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    int top = kTop + kPadding / 2;
    for (const std::string& line : lines) {
        // The raster position takes the colour current when it is set.
        glRasterPos2i(kLeft, top + kBaselineOffset);
        glutBitmapString(GLUT_BITMAP_HELVETICA_18,
                         reinterpret_cast<const unsigned char*>(line.c_str()));
        top += kLineHeight;
    }
    if (textured) {
        glEnable(GL_TEXTURE_2D);
    }
}
