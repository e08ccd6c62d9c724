#include "app/oglApp.h"

#include <GL/freeglut.h>

#include "app/RenderState.h"
#include "app/SwapInterval.h"
#include "app/WindowClass.h"
#include "app/WindowIcon.h"

namespace {

// The depth buffer is never tested against, but it stays: without one, Mesa's software renderer
// takes a faster path that puts other pixels on the screen.
constexpr unsigned int kDisplayMode = GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH;

}  // namespace

oglApp::oglApp(int& argc, char** argv, const char* title, int width, int height) {
    glutInitWindowSize(width, height);
    glutInit(&argc, argv);
    glutInitDisplayMode(kDisplayMode);
    glutCreateWindow(title);
    requestSwapPerRefresh();
    nameWindowClass();
    setWindowIcon();
}

oglApp::~oglApp() {
    glutLeaveGameMode();
}

void oglApp::update() {}

void oglApp::display() {
    clearFrame();
    glutSwapBuffers();
}

void oglApp::mouseMotion(int, int) {}

void oglApp::mouseButton(int, int, int, int) {}

void oglApp::keyboard(int, int, int) {}

void oglApp::reshape(int width, int height) {
    glViewport(0, 0, width, height);
}

void oglApp::idle() {
    update();
    display();
}

int oglApp::run() {
    glutMainLoop();
    return 0;
}
