#include "app/RenderState.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr double kScreenWidth = 1024.0;
constexpr double kScreenHeight = 768.0;

}  // namespace

// The projection goes onto the model-view matrix, which nothing changes afterwards.
void setFixedRenderState() {
    glEnable(GL_TEXTURE_2D);
    gluOrtho2D(0.0, kScreenWidth, kScreenHeight, 0.0);
    glClearDepth(0.0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void clearFrame() {
    glClear(GL_COLOR_BUFFER_BIT);
}
