#include "app/WindowClass.h"

#include <GL/glx.h>
#include <X11/Xutil.h>

namespace {

// What the desktop entry's StartupWMClass names; res_name is what a window manager's rules
// match by convention, the program's name in lower case.
char kResourceName[] = "dromlin";
char kResourceClass[] = "Dromlin";

}  // namespace

// freeglut passes no class hint when it creates the window, so the window has no WM_CLASS at
// all until it is set here on the window that GLUT made current.
void nameWindowClass() {
    Display* const display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) {
        return;
    }
    XClassHint hint{kResourceName, kResourceClass};
    XSetClassHint(display, window, &hint);
    XFlush(display);
}
