// dromlin-tactics: plays battles on a map as a player of the red team would, giving the first
// orders through the play state's mouse and keys, and counts how each way of playing ends.
// It is how the README's advice for the first minute was checked.
// Usage: dromlin-tactics MAP_FOLDER [BATTLES [STEPS]]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "ai/Entity.h"
#include "app/GameStateManager.h"
#include "app/GlutValues.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

constexpr int kStepMs = 16;
constexpr int kDefaultBattles = 10;
// Six minutes of game time: a battle still undecided by then is counted as a draw.
constexpr int kDefaultSteps = 22500;
constexpr int kStepsPerSecond = 1000 / kStepMs;

int heldModifiers = 0;
int readModifiers() {
    return heldModifiers;
}

struct Player {
    GameStateManager& manager;
    ZOL_MainState& play;

    int pixelX(double column) const {
        const World& world = *play.world;
        return static_cast<int>(world.zoom * TILE_SIZE * (column + 0.5) + world.viewOffsetX);
    }
    int pixelY(double row) const {
        const World& world = *play.world;
        return static_cast<int>(world.zoom * TILE_SIZE * (row + 0.5) + world.viewOffsetY);
    }
    void button(int which, int x, int y, int modifiers = 0) {
        heldModifiers = modifiers;
        manager.mouseMotion(x, y);
        manager.mouseButton(which, mouse::kPress, x, y);
        manager.mouseButton(which, mouse::kRelease, x, y);
        heldModifiers = 0;
    }
    // A left drag over the whole map below the banner: every red soldier on the screen.
    void selectAll() {
        heldModifiers = 0;
        manager.mouseMotion(1, 70);
        manager.mouseButton(mouse::kLeft, mouse::kPress, 1, 70);
        manager.mouseMotion(1022, 766);
        manager.mouseButton(mouse::kLeft, mouse::kRelease, 1022, 766);
    }
    void key(int code) { manager.keyboard(code, 0, 0); }

    std::vector<const Entity*> living(int team) const {
        std::vector<const Entity*> found;
        for (const Entity* entity : play.world->entities) {
            if (entity->team == team && entity->health > 0) {
                found.push_back(entity);
            }
        }
        return found;
    }
    // What the red player sees: a blue soldier on a tile red's fog leaves open now.
    bool seenByRed(const Entity& blue) const {
        const World& world = *play.world;
        const int cell = world.fogResolution / 2;
        const int x = static_cast<int>(blue.x) * world.fogResolution + cell;
        const int y = static_cast<int>(blue.y) * world.fogResolution + cell;
        return world.redFog[x][y] < 0.5;
    }
    // The living blue soldier in sight nearest to (x, y), or none.
    const Entity* nearestSeenEnemy(double x, double y) const {
        const Entity* nearest = nullptr;
        double best = 1e300;
        for (const Entity* blue : living(Team::Blue)) {
            const double distance = std::hypot(blue->x - x, blue->y - y);
            if (seenByRed(*blue) && distance < best) {
                best = distance;
                nearest = blue;
            }
        }
        return nearest;
    }
    const Entity* nearestSeenEnemy() const {
        const std::vector<const Entity*> reds = living(Team::Red);
        double middleX = 0.0;
        double middleY = 0.0;
        for (const Entity* red : reds) {
            middleX += red->x / reds.size();
            middleY += red->y / reds.size();
        }
        return nearestSeenEnemy(middleX, middleY);
    }

    // The whole team after the nearest enemy in sight; with none in sight, p (explore and
    // engage) to find one.
    void attackTogether(int modifiers = 0) {
        selectAll();
        if (const Entity* enemy = nearestSeenEnemy()) {
            button(mouse::kRight, pixelX(enemy->x), pixelY(enemy->y), modifiers);
        } else {
            key('p');
        }
    }
    // Each soldier on its own: a left click on its tile, then a right click on the enemy in
    // sight nearest to it, or p.
    void attackEachNearest() {
        for (const Entity* red : living(Team::Red)) {
            button(mouse::kLeft, pixelX(red->x), pixelY(red->y));
            if (const Entity* enemy = nearestSeenEnemy(red->x, red->y)) {
                button(mouse::kRight, pixelX(enemy->x), pixelY(enemy->y));
            } else {
                key('p');
            }
        }
    }
};

struct Tactic {
    const char* name;
    // Given the player and the step; the first step is 1.
    std::function<void(Player&, int)> act;
};

bool every(int step, int seconds) {
    return step == 1 || (seconds > 0 && step % (seconds * kStepsPerSecond) == 0);
}

const std::vector<Tactic>& tactics() {
    static const std::vector<Tactic> table{
        {"no orders", [](Player&, int) {}},
        {"select all, p once",
         [](Player& player, int step) {
             if (step == 1) {
                 player.selectAll();
                 player.key('p');
             }
         }},
        {"select all, p every 5 s",
         [](Player& player, int step) {
             if (every(step, 5)) {
                 player.selectAll();
                 player.key('p');
             }
         }},
        {"all on the nearest seen enemy (else p) once",
         [](Player& player, int step) {
             if (step == 1) {
                 player.attackTogether();
             }
         }},
        {"all on the nearest seen enemy (else p) every 5 s",
         [](Player& player, int step) {
             if (every(step, 5)) {
                 player.attackTogether();
             }
         }},
        {"all on the nearest seen enemy (else p) every 2 s",
         [](Player& player, int step) {
             if (every(step, 2)) {
                 player.attackTogether();
             }
         }},
        {"all advance (ctrl) on the nearest seen enemy every 5 s",
         [](Player& player, int step) {
             if (every(step, 5)) {
                 player.attackTogether(mouse::kCtrl);
             }
         }},
        {"each on its nearest seen enemy (else p) every 5 s",
         [](Player& player, int step) {
             if (every(step, 5)) {
                 player.attackEachNearest();
             }
         }},
    };
    return table;
}

struct Outcome {
    int winner = -1;  // a team, or -1 when both still stand
    int steps = 0;
    int redLeft = 0;
    int blueLeft = 0;
};

Outcome playBattle(const Tactic& tactic, unsigned seed, int maxSteps) {
    setSimulatedClock(0);
    fixGameSeed(seed);
    GameStateManager manager;
    manager.addMainState();
    manager.update();
    auto* play = dynamic_cast<ZOL_MainState*>(manager.liveStates().front().get());
    Player player{manager, *play};
    Outcome outcome;
    for (int step = 1; step <= maxSteps; ++step) {
        tactic.act(player, step);
        setSimulatedClock(static_cast<int32_t>(step * kStepMs));
        manager.update();
        outcome.steps = step;
        outcome.redLeft = static_cast<int>(player.living(Team::Red).size());
        outcome.blueLeft = static_cast<int>(player.living(Team::Blue).size());
        if (outcome.redLeft == 0 || outcome.blueLeft == 0) {
            outcome.winner = outcome.redLeft == 0 ? Team::Blue : Team::Red;
            break;
        }
    }
    return outcome;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: dromlin-tactics MAP_FOLDER [BATTLES [STEPS]]\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::current_path(argv[1], error);
    if (error) {
        std::fprintf(stderr, "dromlin-tactics: cannot enter %s\n", argv[1]);
        return 2;
    }
    const int battles = argc > 2 ? std::atoi(argv[2]) : kDefaultBattles;
    const int maxSteps = argc > 3 ? std::atoi(argv[3]) : kDefaultSteps;
    if (battles < 1 || battles > 1000 || maxSteps < 1 || maxSteps > 1000000) {
        std::fprintf(stderr, "dromlin-tactics: 1 to 1000 battles of 1 to 1000000 steps\n");
        return 2;
    }
    ZOL_MainState::setModifierReader(readModifiers);
    for (const Tactic& tactic : tactics()) {
        int won = 0;
        int lost = 0;
        long wonSteps = 0;
        long lostSteps = 0;
        for (int seed = 1; seed <= battles; ++seed) {
            const Outcome outcome = playBattle(tactic, static_cast<unsigned>(seed), maxSteps);
            if (outcome.winner == Team::Red) {
                ++won;
                wonSteps += outcome.steps;
            } else if (outcome.winner == Team::Blue) {
                ++lost;
                lostSteps += outcome.steps;
            }
            std::printf("%-58s seed %3d: %s after %5.1f s, red %d, blue %d left\n", tactic.name,
                        seed,
                        outcome.winner == Team::Red    ? "won "
                        : outcome.winner == Team::Blue ? "lost"
                                                       : "open",
                        outcome.steps * kStepMs / 1000.0, outcome.redLeft, outcome.blueLeft);
        }
        std::printf(
            "== %s: won %d, lost %d, undecided %d of %d; won in %.0f s, lost in %.0f s "
            "on average\n",
            tactic.name, won, lost, battles - won - lost, battles,
            won > 0 ? wonSteps * kStepMs / 1000.0 / won : 0.0,
            lost > 0 ? lostSteps * kStepMs / 1000.0 / lost : 0.0);
        std::fflush(stdout);
    }
    return 0;
}
