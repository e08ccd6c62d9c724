#pragma once

#include <GL/freeglut.h>

#include <cstdlib>

#include "app/RenderState.h"
#include "gfx/Screen.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// Creates the one 1024 x 768 GLUT window that a test program draws into, with the game's fixed
// render state; false when there is no X server to open it on. Call it once per process.
inline bool createTestWindow(const char* title) {
    if (std::getenv("DISPLAY") == nullptr) {
        return false;
    }
#if defined(__SANITIZE_ADDRESS__)
    // The GL driver keeps what it allocates until exit and unloads its code before the leak
    // check runs, so the check can neither name nor suppress it: from here on this process
    // is not checked for leaks. The tests that need no window still are.
    __lsan_disable();
#endif
    static char name[] = "dromlin_tests";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    // Off the screen, so that it never covers a window that another test takes a picture of;
    // drawing and reading back work on the back buffer all the same.
    glutInitWindowPosition(4000, 4000);
    glutInitWindowSize(screen::kWidth, screen::kHeight);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(title);
    setFixedRenderState();
    return true;
}
