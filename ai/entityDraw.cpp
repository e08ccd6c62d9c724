#include <cmath>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"
#include "world/World.h"

namespace {

// The health bar's place and size inside a tile at zoom 1.0, of TILE_SIZE pixels.
constexpr double kBarWidth = 89;
constexpr double kBarHeight = 8;
constexpr double kBarLeft = 19;
constexpr double kBarTop = 8;
constexpr double kFullHealth = 100.0;

const oglTexture2D* bodyPicture(int team) {
    return cataloguePicture(team == Team::Red ? slot::EntityRed : slot::EntityBlue);
}

}  // namespace

void Entity::drawEntity(int t, int ox, int oy, double z) const {
    const int px = toPixel(ox + t * x * z);
    const int py = toPixel(oy + t * y * z);
    const int side = toPixel(t * z);
    const oglTexture2D* body = bodyPicture(team);

    // Hops are whole tiles; the body slides from the hop's start tile to the waypoint. A
    // soldier that halted mid-hop and then lost its route keeps its hop start until it walks
    // again, which may be never: it stands on its own tile meanwhile rather than vanish.
    const Waypoint* w = path ? path->currentWaypoint() : nullptr;
    if (stepX == -1 || stepY == -1 || w == nullptr) {
        drawSprite(body, side, side, px, py);
    } else {
        const double f = (1 - moveProgress) * TILE_SIZE * z;
        drawSprite(body, side, side, toPixel(px + (double(stepX) - w->x) * f),
                   toPixel(py + (double(stepY) - w->y) * f));
    }

    if (path) {
        path->drawPath(ox, oy, t, team, z);
    }

    if (health <= 0) {
        drawSprite(cataloguePicture(slot::EntityDead), side, side, toPixel(ox + z * (t * x)),
                   toPixel(oy + z * (t * y)));
        return;
    }

    const double h = health / kFullHealth;
    const double width = z * (kBarWidth * h);
    const double height = kBarHeight * z;
    const double left = ox + z * t * x + kBarLeft * z;
    const double top = oy + z * t * y + kBarTop * z;
    drawSpriteFaded(cataloguePicture(slot::HealthBack), 1.0, width, height, left, top);
    drawSpriteFaded(cataloguePicture(slot::HealthFill), h, width, height, left, top);
    drawSprite(cataloguePicture(slot::HealthBorder), side, side, toPixel(ox + z * t * x),
               toPixel(oy + z * t * y));
}

void Entity::drawTargetMarker(int t, double z, double ox, double oy) const {
    if (target == nullptr) {
        return;
    }
    const double tx = std::trunc(target->x);
    const double ty = std::trunc(target->y);
    const int side = toPixel(t * z);
    drawSprite(cataloguePicture(slot::EntityTargetEntity), side, side, toPixel(z * (tx * t) + ox),
               toPixel(z * (ty * t) + oy));
}
