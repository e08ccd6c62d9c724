#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"
#include "path/Path.h"

void Path::drawPath(int ox, int oy, int t, int team, double z) const {
    if (team != Team::Red && team != Team::Blue) {
        return;
    }
    const oglTexture2D* const texture =
        cataloguePicture(team == Team::Red ? slot::RedPath : slot::BluePath);
    const int side = toPixel(t * z);
    // Every waypoint, the start tile and those already passed included.
    for (const Waypoint& waypoint : waypoints) {
        const double left = z * (static_cast<double>(t) * waypoint.x) + ox;
        const double top = z * (static_cast<double>(t) * waypoint.y) + oy;
        drawSprite(texture, side, side, toPixel(left), toPixel(top));
    }
}
