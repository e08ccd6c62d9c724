#pragma once

#include <GL/glx.h>

#include <optional>

// The X display and window of the GL context that GLUT made current; none before GLUT has
// made a window current.
struct GlxWindow {
    Display* display;
    GLXDrawable drawable;
};

inline std::optional<GlxWindow> currentGlxWindow() {
    Display* const display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) {
        return std::nullopt;
    }
    return GlxWindow{display, drawable};
}
