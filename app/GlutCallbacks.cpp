#include <GL/freeglut.h>

#include "app/oglApp.h"

oglApp* theApp = nullptr;

namespace {

void frame() {
    if (theApp == nullptr) {
        return;
    }
    theApp->update();
    theApp->display();
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
    glutDisplayFunc(frame);
    glutIdleFunc(frame);
    glutPassiveMotionFunc(pointerMoved);
    glutMotionFunc(pointerMoved);
    glutMouseFunc(buttonChanged);
    glutKeyboardFunc(keyPressed);
}
