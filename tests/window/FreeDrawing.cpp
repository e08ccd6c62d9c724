// Preloaded into the game to make drawing cost nothing: the quads' GL calls do nothing, and
// every buffer swap is counted into the file named by DROMLIN_SWAP_COUNT, so a test can see
// how many frames the game draws when drawing is free.
#include <GL/gl.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

extern "C" {

void glBegin(GLenum) {}
void glEnd() {}
void glVertex2i(GLint, GLint) {}
void glTexCoord2f(GLfloat, GLfloat) {}
void glDrawArrays(GLenum, GLint, GLsizei) {}

void glutSwapBuffers() {
    static long swaps = 0;
    static const auto realSwap = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glutSwapBuffers"));
    ++swaps;
    if (const char* const path = std::getenv("DROMLIN_SWAP_COUNT")) {
        if (std::FILE* const file = std::fopen(path, "w")) {
            std::fprintf(file, "%ld\n", swaps);
            std::fclose(file);
        }
    }
    if (realSwap != nullptr) {
        realSwap();
    }
}
}
