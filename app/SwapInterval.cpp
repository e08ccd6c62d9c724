#include "app/SwapInterval.h"

#include <cstring>

#include "app/CurrentGlxWindow.h"

namespace {

bool offers(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = extensions; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool startsWord = at == extensions || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

template <class Function>
Function lookUp(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

void requestSwapPerRefresh() {
    const std::optional<GlxWindow> window = currentGlxWindow();
    if (!window) {
        return;
    }
    const auto [display, drawable] = *window;
    const char* const extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (extensions == nullptr) {
        return;
    }
    using SwapEXT = void (*)(Display*, GLXDrawable, int);
    using SwapMESA = int (*)(unsigned int);
    using SwapSGI = int (*)(int);
    if (offers(extensions, "GLX_EXT_swap_control")) {
        if (const auto swap = lookUp<SwapEXT>("glXSwapIntervalEXT")) {
            swap(display, drawable, 1);
            return;
        }
    }
    if (offers(extensions, "GLX_MESA_swap_control")) {
        if (const auto swap = lookUp<SwapMESA>("glXSwapIntervalMESA")) {
            swap(1);
            return;
        }
    }
    if (offers(extensions, "GLX_SGI_swap_control")) {
        if (const auto swap = lookUp<SwapSGI>("glXSwapIntervalSGI")) {
            swap(1);
        }
    }
}
