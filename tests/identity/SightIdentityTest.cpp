// The fast ray marches and fog must answer exactly as the plain ones on any battlefield.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "RandomBattlefield.h"
#include "ai/Entity.h"
#include "plain/PlainFog.h"
#include "plain/PlainRayMarch.h"
#include "world/World.h"

namespace {

constexpr int kBattlefields = 1500;

// Mostly tile corners and centres, the points the game aims at, but also any fraction, points
// off the grid and points no grid reaches.
double drawCoordinate(Dice& dice, int size) {
    switch (dice.below(8)) {
        case 0:
            return dice.between(-3, size + 3) + 0.5;
        case 1:
            return dice.between(-3, size + 3) + dice.below(1000) / 1000.0;
        case 2:
            return dice.chance(50) ? -1e12 : 1e15;
        default:
            return dice.between(0, size);
    }
}

// A soldier sometimes stands somewhere strange: between tiles, off the grid, nowhere at all.
void maybeDisplace(Dice& dice, Entity& soldier) {
    const int roll = dice.below(40);
    if (roll == 0) {
        soldier.x += 0.25;
    } else if (roll == 1) {
        soldier.y = -2;
    } else if (roll == 2) {
        soldier.x = std::numeric_limits<double>::quiet_NaN();
    } else if (roll == 3) {
        soldier.y = 5e9;
    }
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string caseName(uint32_t seed) {
    return "battlefield " + std::to_string(seed);
}

}  // namespace

TEST(SightIdentity, fastRayMarchesAnswerAsThePlainOnes) {
    Dice dice(977u);
    int blocked = 0;
    int friendly = 0;
    for (uint32_t seed = 0; seed < kBattlefields; ++seed) {
        auto world = drawBattlefield(seed);
        for (Entity* soldier : world->entities) {
            maybeDisplace(dice, *soldier);
        }
        for (int ray = 0; ray < 40; ++ray) {
            const Entity& e = *world->entities[static_cast<std::size_t>(
                dice.below(static_cast<int>(world->entities.size())))];
            const double tx = drawCoordinate(dice, world->columns);
            const double ty = drawCoordinate(dice, world->rows);
            const double ax = drawCoordinate(dice, world->columns);
            const double ay = drawCoordinate(dice, world->rows);
            const bool sight = e.hasLineOfSight(tx, ty);
            ASSERT_EQ(sight, plainHasLineOfSight(e, tx, ty))
                << caseName(seed) << " sight from (" << e.x << "," << e.y << ") to (" << tx << ","
                << ty << ")";
            const bool inTheWay = e.isFriendInLineOfFire(tx, ty);
            ASSERT_EQ(inTheWay, plainIsFriendInLineOfFire(e, tx, ty)) << caseName(seed);
            ASSERT_EQ(e.isLineClear(ax, ay, tx, ty), plainIsLineClear(e, ax, ay, tx, ty))
                << caseName(seed) << " line from (" << ax << "," << ay << ") to (" << tx << ","
                << ty << ")";
            blocked += !sight;
            friendly += inTheWay;
        }
    }
    // Both answers must come up often, or the comparison proves little.
    EXPECT_GT(blocked, kBattlefields * 4);
    EXPECT_GT(friendly, kBattlefields * 2);
}

TEST(SightIdentity, wallsBeyondAShrunkTileGridStillBlockSight) {
    auto world = drawBattlefield(7);
    world->tiles.reset(2, 2, TileKind::BaseTile);
    world->columns = 8;
    world->rows = 8;
    world->entities.front()->x = 0;
    world->entities.front()->y = 0;
    const Entity& e = *world->entities.front();
    EXPECT_EQ(e.hasLineOfSight(6, 1), plainHasLineOfSight(e, 6, 1));
    EXPECT_FALSE(e.hasLineOfSight(6, 1));
    EXPECT_TRUE(e.hasLineOfSight(1, 1));
}

void expectSameFog(const World& fast, const World& plain, const std::string& where) {
    for (int x = 0; x < fast.redFog.columns(); ++x) {
        for (int y = 0; y < fast.redFog.rows(); ++y) {
            ASSERT_TRUE(sameBits(fast.redFog[x][y], plain.redFog[x][y]))
                << where << " red fog (" << x << "," << y << ")";
            ASSERT_TRUE(sameBits(fast.blueFog[x][y], plain.blueFog[x][y]))
                << where << " blue fog (" << x << "," << y << ")";
        }
    }
    for (int x = 0; x < fast.columns; ++x) {
        for (int y = 0; y < fast.rows; ++y) {
            ASSERT_EQ(fast.redKnownTiles[x][y], plain.redKnownTiles[x][y]) << where;
            ASSERT_EQ(fast.blueKnownTiles[x][y], plain.blueKnownTiles[x][y]) << where;
        }
    }
}

void computeBothFogs(World& fast, World& plain) {
    for (int team = 0; team < 2; ++team) {
        fast.computeFog(team);
        plainComputeFog(plain, team);
    }
}

// One change of the kind a battle makes between two fogs, made alike to both Worlds: a wall
// raised or knocked down near a soldier, a soldier stepping to a neighbouring tile, or dying.
void changeBattlefield(Dice& dice, World& fast, World& plain) {
    const std::size_t who =
        static_cast<std::size_t>(dice.below(static_cast<int>(fast.entities.size())));
    const int roll = dice.below(4);
    if (roll == 0) {
        const int x = static_cast<int>(fast.entities[who]->x) + dice.between(-17, 17);
        const int y = static_cast<int>(fast.entities[who]->y) + dice.between(-17, 17);
        fast.toggleTile(x, y);
        plain.toggleTile(x, y);
    } else if (roll == 1) {
        const int dx = dice.between(-1, 1);
        const int dy = dice.between(-1, 1);
        for (World* world : {&fast, &plain}) {
            world->entities[who]->x += dx;
            world->entities[who]->y += dy;
        }
    } else if (roll == 2 && dice.chance(20)) {
        fast.entities[who]->health = 0;
        plain.entities[who]->health = 0;
    }
}

TEST(SightIdentity, fogNeverReusesWhatASoldierSawBeforeAChange) {
    Dice dice(31337u);
    for (uint32_t seed = 0; seed < kBattlefields / 5; ++seed) {
        auto fast = drawBattlefield(seed);
        auto plain = drawBattlefield(seed);
        for (int round = 0; round < 12; ++round) {
            computeBothFogs(*fast, *plain);
            expectSameFog(*fast, *plain, caseName(seed) + " round " + std::to_string(round));
            if (HasFatalFailure()) {
                return;
            }
            changeBattlefield(dice, *fast, *plain);
        }
    }
}

TEST(SightIdentity, fastFogLeavesTheSameFogAndMemoryAsThePlainOne) {
    Dice dice(4242u);
    for (uint32_t seed = 0; seed < kBattlefields; ++seed) {
        // A finer fog grid visits cells in an order that matters; the fast fog must keep it.
        const int fogResolution = dice.chance(10) ? 2 : 1;
        auto fast = drawBattlefield(seed, fogResolution);
        auto plain = drawBattlefield(seed, fogResolution);
        for (std::size_t i = 0; i < fast->entities.size(); ++i) {
            Dice copy = dice;
            maybeDisplace(dice, *fast->entities[i]);
            maybeDisplace(copy, *plain->entities[i]);
        }
        computeBothFogs(*fast, *plain);
        expectSameFog(*fast, *plain, caseName(seed));
        if (HasFatalFailure()) {
            return;
        }
    }
}
