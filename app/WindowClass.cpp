#include "app/WindowClass.h"

#include <X11/Xutil.h>

#include "app/CurrentGlxWindow.h"

namespace {

// What the desktop entry's StartupWMClass names; res_name is what a window manager's rules
// match by convention, the program's name in lower case.
char kResourceName[] = "dromlin";
char kResourceClass[] = "Dromlin";

}  // namespace

// freeglut passes no class hint when it creates the window, so the window has no WM_CLASS at
// all until it is set here on the window that GLUT made current.
void nameWindowClass() {
    const std::optional<GlxWindow> window = currentGlxWindow();
    if (!window) {
        return;
    }
    XClassHint hint{kResourceName, kResourceClass};
    XSetClassHint(window->display, window->drawable, &hint);
    XFlush(window->display);
}
