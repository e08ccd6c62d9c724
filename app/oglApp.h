#pragma once

// A GLUT application: constructing one initialises GLUT and opens the window; GLUT's
// callbacks reach the object through theApp.
class oglApp {
public:
    oglApp(int& argc, char** argv, const char* title, int width, int height);
    virtual ~oglApp();
    oglApp(const oglApp&) = delete;
    oglApp& operator=(const oglApp&) = delete;

    virtual void update();
    virtual void display();
    virtual void mouseMotion(int x, int y);
    virtual void mouseButton(int button, int state, int x, int y);
    virtual void keyboard(int key, int x, int y);
    // The window took a new size.
    virtual void reshape(int width, int height);
    // GLUT has no events waiting: by default one update and one display.
    virtual void idle();
    // Enters GLUT's main loop, which only leaves by ending the process.
    virtual int run();
};

// The one application of the process, read by every GLUT callback; never deleted.
extern oglApp* theApp;

// Display redraws, idle advances the game; both kinds of pointer motion give the same call.
void registerCallbacks();
// All of them but idle, for a host that advances the game on a clock of its own (the
// browser's animation frames).
void registerEventCallbacks();
