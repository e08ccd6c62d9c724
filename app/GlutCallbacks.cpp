#include <GL/freeglut.h>

#include "app/GlutValues.h"
#include "app/oglApp.h"

static_assert(mouse::kLeft == GLUT_LEFT_BUTTON && mouse::kMiddle == GLUT_MIDDLE_BUTTON &&
              mouse::kRight == GLUT_RIGHT_BUTTON);
static_assert(mouse::kPress == GLUT_DOWN && mouse::kRelease == GLUT_UP);
static_assert(mouse::kShift == GLUT_ACTIVE_SHIFT && mouse::kCtrl == GLUT_ACTIVE_CTRL &&
              mouse::kAlt == GLUT_ACTIVE_ALT);

oglApp* theApp = nullptr;

namespace {

// An expose only redraws: the battle advances on the idle callback's steady pace.
void redraw() {
    if (theApp != nullptr) {
        theApp->display();
    }
}

void idle() {
    if (theApp != nullptr) {
        theApp->idle();
    }
}

void resized(int width, int height) {
    if (theApp != nullptr) {
        theApp->reshape(width, height);
    }
}

void pointerMoved(int x, int y) {
    if (theApp != nullptr) {
        theApp->mouseMotion(x, y);
    }
}

void buttonChanged(int button, int state, int x, int y) {
    if (theApp != nullptr) {
        theApp->mouseButton(button, state, x, y);
    }
}

void keyPressed(unsigned char key, int x, int y) {
    if (theApp != nullptr) {
        theApp->keyboard(static_cast<int>(key), x, y);
    }
}

}  // namespace

void registerCallbacks() {
    registerEventCallbacks();
    glutIdleFunc(idle);
}

void registerEventCallbacks() {
    glutDisplayFunc(redraw);
    glutReshapeFunc(resized);
    glutPassiveMotionFunc(pointerMoved);
    glutMotionFunc(pointerMoved);
    glutMouseFunc(buttonChanged);
    glutKeyboardFunc(keyPressed);
}
