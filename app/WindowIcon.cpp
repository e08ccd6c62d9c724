#include "app/WindowIcon.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "app/CurrentGlxWindow.h"
#include "app/EmbeddedIcons.h"
#include "gfx/Picture.h"

namespace {

// _NET_WM_ICON: for each size its width, its height, then its pixels as ARGB, row by row.
// Xlib wants format-32 items as longs, which are 64 bits on 64-bit machines.
void appendIcon(std::vector<unsigned long>& property, const DecodedPicture& picture) {
    property.push_back(static_cast<unsigned long>(picture.width));
    property.push_back(static_cast<unsigned long>(picture.height));
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char* const rgba = &picture.rgba[4 * i];
        property.push_back(static_cast<unsigned long>(rgba[3]) << 24 |
                           static_cast<unsigned long>(rgba[0]) << 16 |
                           static_cast<unsigned long>(rgba[1]) << 8 | rgba[2]);
    }
}

std::vector<unsigned long> iconProperty() {
    std::vector<unsigned long> property;
    for (std::size_t i = 0; i < kEmbeddedIconCount; ++i) {
        const std::optional<DecodedPicture> picture =
            decodeWithDevIL(kEmbeddedIcons[i].bytes, kEmbeddedIcons[i].size);
        if (picture && picture->rgba.size() ==
                           static_cast<std::size_t>(picture->width) * picture->height * 4) {
            appendIcon(property, *picture);
        }
    }
    return property;
}

}  // namespace

void setWindowIcon() {
    const std::optional<GlxWindow> window = currentGlxWindow();
    if (!window) {
        return;
    }
    const std::vector<unsigned long> property = iconProperty();
    if (property.empty()) {
        return;
    }
    const Atom icon = XInternAtom(window->display, "_NET_WM_ICON", False);
    XChangeProperty(window->display, window->drawable, icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(property.data()),
                    static_cast<int>(property.size()));
    XFlush(window->display);
}
