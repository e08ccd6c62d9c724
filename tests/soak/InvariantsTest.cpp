#include "Invariants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "ai/Entity.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) {
        all += line + "\n";
    }
    return all;
}

std::unique_ptr<World> battlefield() {
    return makeWorld({"r..o.", "..o.b", "r...b"});
}

void addBullet(World& world, double x, double y, double vx, double vy) {
    auto bullet = std::make_unique<Bullet>();
    bullet->x = x;
    bullet->y = y;
    bullet->velocityX = vx;
    bullet->velocityY = vy;
    bullet->range = 12;
    bullet->kind = 2;
    bullet->owner = world.entities.front();
    world.addBullet(std::move(bullet));
}

struct Fault {
    const char* what;
    std::function<void(World&)> cause;
    const char* said;  // part of the line that must report it
};

}  // namespace

TEST(Invariants, untouchedBattleAndItsStepsBreakNothing) {
    auto world = battlefield();
    addBullet(*world, 1.5, 0.5, 0.2, 0.0);
    world->computeFog(0);
    world->computeFog(1);
    EXPECT_EQ(joined(brokenInvariants(*world)), "");
    world->entities[1]->kill();
    world->update();
    EXPECT_EQ(joined(brokenInvariants(*world)), "");
}

TEST(Invariants, everyKindOfDamageToTheBattleIsReported) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Fault> faults = {
        {"off the grid", [](World& w) { w.entities[0]->x = 5; }, "off the grid"},
        {"between tiles", [](World& w) { w.entities[0]->y = 0.5; }, "off the grid"},
        {"in a wall", [](World& w) { w.entities[0]->x = 3; }, "in a wall"},
        {"half a goal", [](World& w) { w.entities[0]->goalX = 2; }, "goal 2,-1"},
        {"goal off the grid", [](World& w) { w.entities[0]->goalX = w.entities[0]->goalY = 9; },
         "goal 9,9"},
        {"half a hop", [](World& w) { w.entities[0]->stepY = 1; }, "hopped from -1,1"},
        {"another's gun",
         [](World& w) { w.entities[0]->currentWeapon = w.entities[1]->primaryWeapon.get(); },
         "not one of its two"},
        {"negative magazine", [](World& w) { w.entities[0]->secondaryWeapon->rounds = -1; },
         "-1 rounds"},
        {"overfull magazine", [](World& w) { w.entities[0]->primaryWeapon->rounds = 5; },
         "5 rounds in a magazine of 4"},
        {"negative spare rounds", [](World& w) { w.entities[0]->spareRounds[1] = -2; },
         "-2 spare rounds"},
        {"too healthy", [](World& w) { w.entities[0]->health = 101; }, "101 health"},
        {"unknown state", [](World& w) { w.entities[0]->state = 2; }, "in state 2"},
        {"healed ghost", [](World& w) { w.entities[0]->state = EntityState::Dead; },
         "100 health but is dead"},
        {"bullet remembered after it went",
         [](World& w) { w.entities[0]->firedBullets.push_back(nullptr); }, "remembers a bullet"},
        {"NaN progress", [nan](World& w) { w.entities[0]->moveProgress = nan; }, "nan"},
        {"target not a soldier",
         [](World& w) { w.entities[0]->target = reinterpret_cast<Entity*>(&w); }, "targets"},
        {"shared tile", [](World& w) { w.entities[3]->y = 1; }, "two living soldiers stand on 4,1"},
        {"living soldier dropped", [](World& w) { w.entities.pop_back(); }, "left the list"},
        {"NaN bullet", [nan](World& w) { addBullet(w, nan, 0.5, 0.2, 0); }, "bullet 0"},
        {"fast bullet", [](World& w) { addBullet(w, 1.5, 0.5, 0.2, 0.1); }, "moves"},
        {"too many bullets",
         [](World& w) {
             for (int i = 0; i < 73 * 4 + 1; ++i) {
                 addBullet(w, 1.5, 0.5, 0.2, 0);
             }
         },
         "293 bullets in flight"},
        {"fog out of range", [](World& w) { w.blueFog[2][2] = 1.5; }, "fog cell 2,2"},
        {"unknown tile kind", [](World& w) { w.redKnownTiles[1][1] = 7; }, "kind 7"},
        {"grid of another size", [](World& w) { w.columns = 6; }, "a tile grid is 5 x 3"},
        {"camera lost", [nan](World& w) { w.cameraX = nan; }, "camera"},
    };
    for (const Fault& fault : faults) {
        auto world = battlefield();
        fault.cause(*world);
        const std::string said = joined(brokenInvariants(*world));
        EXPECT_NE(said.find(fault.said), std::string::npos) << fault.what << " gave:\n" << said;
    }
}

TEST(Invariants, deadSoldierMayLieUnderALivingOne) {
    auto world = battlefield();
    world->entities[3]->kill();
    world->entities[3]->y = 1;
    EXPECT_EQ(joined(brokenInvariants(*world)), "");
}

TEST(Invariants, aGridFullOfFaultsIsReportedInAFewLines) {
    World world;
    world.redFog.fill(-1.0);
    EXPECT_EQ(brokenInvariants(world).size(), 20u);
}
