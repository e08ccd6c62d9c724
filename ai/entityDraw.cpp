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

const oglTexture2D* bodyPicture(int team) {
    return cataloguePicture(team == Team::Red ? slot::kEntityRed : slot::kEntityBlue);
}

DrawPoint screenCorner(DrawPoint place, int t, double z, double ox, double oy) {
    return {ox + z * (t * place.x), oy + z * (t * place.y)};
}

void drawBody(int team, DrawPoint corner, int side) {
    drawSprite(bodyPicture(team), side, side, toPixel(corner.x), toPixel(corner.y));
}

void drawDeadMark(DrawPoint corner, int side) {
    drawSprite(cataloguePicture(slot::kEntityDead), side, side, toPixel(corner.x),
               toPixel(corner.y));
}

}  // namespace

DrawPoint Entity::drawnPlace() const {
    // Hops are whole tiles; the body slides from the hop's start tile to the waypoint. A
    // soldier that halted mid-hop and then lost its route keeps its hop start until it walks
    // again, which may be never: it stands on its own tile meanwhile rather than vanish.
    const Waypoint* w = path ? path->currentWaypoint() : nullptr;
    if (stepX == -1 || stepY == -1 || w == nullptr) {
        return {x, y};
    }
    const double rest = 1 - moveProgress;
    return {x + (double(stepX) - w->x) * rest, y + (double(stepY) - w->y) * rest};
}

void Entity::drawEntity(int t, int ox, int oy, double z) const {
    const DrawPoint corner = screenCorner(drawnPlace(), t, z, ox, oy);
    const int side = toPixel(t * z);
    drawBody(team, corner, side);

    if (path) {
        path->drawPath(ox, oy, t, team, z);
    }

    if (health <= 0) {
        drawDeadMark(corner, side);
        return;
    }

    const double h = health / static_cast<double>(kFullHealth);
    const double width = z * (kBarWidth * h);
    const double height = kBarHeight * z;
    const double left = corner.x + kBarLeft * z;
    const double top = corner.y + kBarTop * z;
    drawSpriteFaded(cataloguePicture(slot::kHealthBack), 1.0, width, height, left, top);
    drawSpriteFaded(cataloguePicture(slot::kHealthFill), h, width, height, left, top);
    drawSprite(cataloguePicture(slot::kHealthBorder), side, side, toPixel(corner.x),
               toPixel(corner.y));
}

// The brackets close round the target's body, wherever it is on its way.
void Entity::drawTargetMarker(int t, double z, double ox, double oy) const {
    if (target == nullptr) {
        return;
    }
    const DrawPoint corner = screenCorner(target->drawnPlace(), t, z, ox, oy);
    const int side = toPixel(t * z);
    drawSprite(cataloguePicture(slot::kEntityTargetEntity), side, side, toPixel(corner.x),
               toPixel(corner.y));
}

void drawFallenBody(int team, DrawPoint place, int t, double z, double ox, double oy) {
    const DrawPoint corner = screenCorner(place, t, z, ox, oy);
    const int side = toPixel(t * z);
    drawBody(team, corner, side);
    drawDeadMark(corner, side);
}
