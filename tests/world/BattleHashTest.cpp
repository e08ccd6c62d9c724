#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "support/TestWorld.h"
#include "world/BattleHash.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

// Two soldiers, the first with a route, a target and a bullet in flight, so that every kind of
// field the hash reads holds something.
std::unique_ptr<World> busyWorld() {
    // Created first, as the game does: creating it seeds the generator with the time.
    ResourceCatalogue::instance();
    setSimulatedClock(1000);
    seedGameRand(7);
    auto world = makeWorld({"r.....", "......", "..o...", ".....b"});
    Entity& red = *world->entities[0];
    red.requestPath(4, 1);
    red.target = world->entities[1];
    world->addBullet(spawnBullet(*red.secondaryWeapon, red.target, 0.5, 0.5, 5.5, 3.5, 6.0));
    red.firedBullets.push_back(world->bullets.back().get());
    return world;
}

using Change = std::function<void(World&)>;

Entity& red(World& w) {
    return *w.roster[0];
}

TEST(BattleHash, everyFieldAStepChangesOrReadsChangesTheHash) {
    const std::vector<std::pair<std::string, Change>> changes = {
        {"x", [](World& w) { red(w).x = 1.0; }},
        {"y", [](World& w) { red(w).y = 1.0; }},
        {"goal", [](World& w) { red(w).goalX = 3.0; }},
        {"rally", [](World& w) { red(w).rallyY = 2.0; }},
        {"health", [](World& w) { red(w).health = 99; }},
        {"weaponReady", [](World& w) { red(w).weaponReady = false; }},
        {"lastUpdateTime", [](World& w) { red(w).lastUpdateTime = 5; }},
        {"sinceShot", [](World& w) { red(w).sinceShot = 5; }},
        {"lastReloadTime", [](World& w) { red(w).lastReloadTime = 5; }},
        {"team", [](World& w) { red(w).team = 1; }},
        {"firedBullets", [](World& w) { red(w).firedBullets.clear(); }},
        {"halted", [](World& w) { red(w).halted = false; }},
        {"step", [](World& w) { red(w).stepX = 0; }},
        {"moveProgress", [](World& w) { red(w).moveProgress = 0.1; }},
        {"the smallest change of a double",
         [](World& w) { red(w).speed = std::nextafter(red(w).speed, 1.0); }},
        {"route index", [](World& w) { red(w).path->current = 1; }},
        {"route tile", [](World& w) { red(w).path->waypoints.back().y = 2; }},
        {"no route", [](World& w) { red(w).path.reset(); }},
        {"target", [](World& w) { red(w).target = w.roster[0].get(); }},
        {"aim", [](World& w) { red(w).aimX = 2.0; }},
        {"spare rounds", [](World& w) { red(w).spareRounds[2] = 1; }},
        {"rounds", [](World& w) { red(w).secondaryWeapon->rounds = 0; }},
        {"gun in hand", [](World& w) { red(w).currentWeapon = red(w).primaryWeapon.get(); }},
        {"state", [](World& w) { red(w).state = EntityState::Flee; }},
        {"action", [](World& w) { red(w).action = EntityAction::Scan; }},
        {"scan rhythm", [](World& w) { red(w).scanCounter = 3; }},
        {"the living list", [](World& w) { w.entities.pop_back(); }},
        {"bullet position", [](World& w) { w.bullets[0]->x += 0.2; }},
        {"bullet damage", [](World& w) { w.bullets[0]->damage = 1.0; }},
        {"bullet spent", [](World& w) { w.bullets[0]->active = false; }},
        {"bullet owner", [](World& w) { w.bullets[0]->owner = w.roster[1].get(); }},
        {"no bullet", [](World& w) { w.bullets.clear(); }},
        {"tile", [](World& w) { w.toggleTile(3, 3); }},
        {"red's known tiles", [](World& w) { w.redKnownTiles[1][1] = 1; }},
        {"blue's known tiles", [](World& w) { w.blueKnownTiles[5][0] = 2; }},
        {"red's fog", [](World& w) { w.redFog[0][0] = 0.5; }},
        {"blue's fog", [](World& w) { w.blueFog[5][3] = -0.0; }},
        {"commanded teams", [](World& w) { w.commandedTeams = 3; }},
        {"clock", [](World&) { setSimulatedClock(1001); }},
        {"random generator", [](World&) { gameRand(); }},
    };
    const uint64_t before = battleHash(*busyWorld());
    for (const auto& [field, change] : changes) {
        const auto world = busyWorld();
        change(*world);
        EXPECT_NE(battleHash(*world), before) << field;
    }
}

// The window's player zooms and scrolls without giving an order; a re-fight must still agree.
TEST(BattleHash, theCameraIsTheViewersAndLeftOut) {
    const uint64_t before = battleHash(*busyWorld());
    const auto world = busyWorld();
    world->zoomOut();
    world->cameraX += 3.0;
    world->cameraY -= 1.0;
    world->viewOffsetX = 100;
    world->viewOffsetY = -7;
    world->tilePixelWidth = world->tilePixelHeight = 12.8;
    EXPECT_EQ(battleHash(*world), before);
}

TEST(BattleHash, readingItChangesNothingAndDrawsNoNumber) {
    const auto world = busyWorld();
    const GameRandomState random = gameRandomState();
    const uint64_t first = battleHash(*world);
    EXPECT_EQ(battleHash(*world), first);
    EXPECT_EQ(gameRandomState().words, random.words);
    EXPECT_EQ(gameRandomState().next, random.next);
}

// Each battle built from nothing, as another process would.
std::vector<uint64_t> hashesOfABattle(unsigned seed) {
    ResourceCatalogue::instance();
    seedGameRand(seed);
    setSimulatedClock(0);
    auto world = makeWorld({"r....o....", "..r..o..b.", ".....o....", "r.......bb"});
    world->commandedTeams = 0;
    world->computeFogs();
    std::vector<uint64_t> hashes;
    for (int step = 1; step <= 400; ++step) {
        setSimulatedClock(step * 16);
        world->step();
        hashes.push_back(battleHash(*world));
    }
    return hashes;
}

TEST(BattleHash, twoRunsOfOneBattleAgreeAtEveryStepAndAnotherSeedParts) {
    const std::vector<uint64_t> first = hashesOfABattle(3);
    EXPECT_EQ(hashesOfABattle(3), first);
    EXPECT_NE(hashesOfABattle(4).back(), first.back());
}

}  // namespace
