#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"
#include "path/Path.h"
#include "world/World.h"

void Path::drawPath(int ox, int oy, int t, int team, double z) const {
    if (team != Team::Red && team != Team::Blue) {
        return;
    }
    const oglTexture2D* const texture =
        cataloguePicture(team == Team::Red ? slot::kRedPath : slot::kBluePath);
    const int side = toPixel(t * z);
    // Every waypoint, the start tile and those already passed included; in the other
    // team's view only those it sees now.
    for (const Waypoint& waypoint : waypoints) {
        if (world != nullptr && !world->showsInView(team, waypoint.x, waypoint.y)) {
            continue;
        }
        const double left = z * (static_cast<double>(t) * waypoint.x) + ox;
        const double top = z * (static_cast<double>(t) * waypoint.y) + oy;
        drawSprite(texture, side, side, toPixel(left), toPixel(top));
    }
}
