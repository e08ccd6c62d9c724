#include "GlWindow.h"

#include <GL/freeglut.h>
#include <stdlib.h>

#include "gfx/Screen.h"
#include "support/GlTestWindow.h"

bool openGlWindow() {
    static const bool open = createTestWindow("dromlin gfx tests");
    return open;
}

Rgba pixelAt(int x, int y) {
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    unsigned char rgba[4] = {0, 0, 0, 0};
    // Read-back rows count from the bottom; the game's y grows downwards.
    glReadPixels(x, screen::kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Rgba{rgba[0], rgba[1], rgba[2], rgba[3]};
}

void clearScreen(float grey) {
    glClearColor(grey, grey, grey, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dromlin-gfx-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path = pattern;
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!path.empty()) {
        std::filesystem::remove_all(path, ignored);
    }
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& folder)
    : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}

void GlTest::SetUp() {
    ASSERT_TRUE(openGlWindow()) << "these tests draw: run them under an X server (xvfb-run)";
    clearScreen(0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
