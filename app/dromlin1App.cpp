#include "app/dromlin1App.h"

#include <GL/freeglut.h>

#include "gfx/ResourceCatalogue.h"

namespace {

constexpr GLbitfield kClearMask = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;

}  // namespace

dromlin1App::dromlin1App(int& argc, char** argv, const char* title, int width, int height)
    : oglApp(argc, argv, title, width, height) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    ResourceCatalogue::instance();
    ResourceCatalogue::instance();
    stateManager.addMainState();
}

void dromlin1App::update() {
    stateManager.update();
}

void dromlin1App::display() {
    glClear(kClearMask);
    stateManager.draw();
    glFlush();
    glutSwapBuffers();
}

void dromlin1App::mouseMotion(int x, int y) {
    stateManager.mouseMotion(x, y);
}

void dromlin1App::mouseButton(int button, int state, int x, int y) {
    stateManager.mouseButton(button, state, x, y);
}

void dromlin1App::keyboard(int key, int x, int y) {
    stateManager.keyboard(key, x, y);
}
