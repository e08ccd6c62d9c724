#include "app/RenderState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "gfx/Screen.h"

// The projection goes onto the model-view matrix, which nothing changes afterwards.
void setFixedRenderState() {
    glEnable(GL_TEXTURE_2D);
    gluOrtho2D(0.0, screen::kWidth, screen::kHeight, 0.0);
    glClearDepth(0.0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void clearFrame() {
    glClear(GL_COLOR_BUFFER_BIT);
}
