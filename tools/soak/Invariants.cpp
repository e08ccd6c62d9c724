#include "Invariants.h"

#include <cmath>
#include <sstream>
#include <unordered_set>

#include "ai/Entity.h"
#include "path/Path.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

constexpr double kNoGoal = -1.0;
constexpr int kNoStep = -1;
constexpr int kPelletsPerVolley = 5;
// A soldier's whole ammunition: the shotgun's magazine and spare rounds fire five pellets a
// round, the rifle's one bullet. Nothing hands out more, so no more can ever be in flight.
constexpr int kShotgunRounds = 4 + 10;
constexpr int kRifleRounds = 1 + 2;
constexpr int kMostBulletsPerSoldier = kShotgunRounds * kPelletsPerVolley + kRifleRounds;
// A bullet moves a fifth of a tile per step, measured along the axes.
constexpr double kBulletStep = 0.2;
constexpr double kStepTolerance = 1e-9;
constexpr std::size_t kMostLines = 20;

class Checker {
public:
    explicit Checker(const World& world) : world_(world) {
        for (const auto& soldier : world.roster) {
            known_.insert(soldier.get());
        }
        for (const auto& bullet : world.bullets) {
            flying_.insert(bullet.get());
        }
    }

    std::vector<std::string> run() {
        checkGrids();
        checkCamera();
        for (std::size_t i = 0; i < world_.entities.size(); ++i) {
            checkSoldier(i, *world_.entities[i]);
        }
        checkDroppedSoldiers();
        checkSharedTiles();
        checkBullets();
        return std::move(broken_);
    }

private:
    template <class... Pieces>
    void fail(const Pieces&... pieces) {
        // A grid full of bad cells says so a few times, not thousands.
        if (broken_.size() >= kMostLines) {
            return;
        }
        std::ostringstream line;
        (line << ... << pieces);
        broken_.push_back(line.str());
    }

    bool isKnown(const Entity* soldier) const {
        return soldier == nullptr || known_.count(soldier) != 0;
    }
    bool isTile(double x, double y) const {
        return std::trunc(x) == x && std::trunc(y) == y && x >= 0 && x < world_.columns && y >= 0 &&
               y < world_.rows;
    }
    bool isTile(int x, int y) const {
        return x >= 0 && x < world_.columns && y >= 0 && y < world_.rows;
    }

    void checkGrids() {
        const int c = world_.columns;
        const int r = world_.rows;
        const int f = world_.fogResolution;
        for (const Grid<int32_t>* grid :
             {&world_.tiles, &world_.redKnownTiles, &world_.blueKnownTiles}) {
            if (grid->columns() != c || grid->rows() != r) {
                fail("a tile grid is ", grid->columns(), " x ", grid->rows(), ", the World ", c,
                     " x ", r);
                return;
            }
            for (int x = 0; x < c; ++x) {
                for (int y = 0; y < r; ++y) {
                    const int32_t kind = (*grid)[x][y];
                    if (kind < TileKind::NullTile || kind > TileKind::Obstacle) {
                        fail("tile ", x, ",", y, " holds kind ", kind);
                    }
                }
            }
        }
        for (const Grid<double>* fog : {&world_.redFog, &world_.blueFog}) {
            if (fog->columns() != c * f || fog->rows() != r * f) {
                fail("a fog grid is ", fog->columns(), " x ", fog->rows());
                return;
            }
            for (int x = 0; x < c * f; ++x) {
                for (int y = 0; y < r * f; ++y) {
                    const double v = (*fog)[x][y];
                    if (!(v >= 0.0 && v <= 1.0)) {
                        fail("fog cell ", x, ",", y, " is ", v);
                    }
                }
            }
        }
    }

    void checkCamera() {
        for (const double v : {world_.zoom, world_.cameraX, world_.cameraY, world_.tilePixelWidth,
                               world_.tilePixelHeight}) {
            if (!std::isfinite(v)) {
                fail("a camera field is ", v);
            }
        }
    }

    void checkNumbers(const std::string& who, const Entity& e) {
        const double fields[] = {e.x,      e.y,      e.goalX,         e.goalY,
                                 e.rallyX, e.rallyY, e.thinkInterval, e.moveProgress,
                                 e.speed,  e.aimX,   e.aimY};
        for (const double v : fields) {
            if (!std::isfinite(v)) {
                fail(who, " has a field that is ", v);
                return;
            }
        }
    }

    void checkPlace(const std::string& who, const Entity& e) {
        if (!isTile(e.x, e.y)) {
            fail(who, " stands off the grid");
            return;
        }
        if (e.health > 0 &&
            world_.tiles[static_cast<int>(e.x)][static_cast<int>(e.y)] == TileKind::Obstacle) {
            fail(who, " stands in a wall");
        }
        const bool noGoal = e.goalX == kNoGoal && e.goalY == kNoGoal;
        if (!noGoal && !isTile(e.goalX, e.goalY)) {
            fail(who, " has goal ", e.goalX, ",", e.goalY);
        }
        const bool noStep = e.stepX == kNoStep && e.stepY == kNoStep;
        if (!noStep && !isTile(e.stepX, e.stepY)) {
            fail(who, " hopped from ", e.stepX, ",", e.stepY);
        }
        if (e.path != nullptr) {
            for (const Waypoint& w : e.path->waypoints) {
                if (!isTile(w.x, w.y)) {
                    fail(who, " has a waypoint at ", w.x, ",", w.y);
                    break;
                }
            }
        }
    }

    void checkGuns(const std::string& who, const Entity& e) {
        if (e.primaryWeapon == nullptr || e.secondaryWeapon == nullptr ||
            (e.currentWeapon != e.primaryWeapon.get() &&
             e.currentWeapon != e.secondaryWeapon.get())) {
            fail(who, " holds a gun that is not one of its two");
            return;
        }
        for (const Weapon* gun : {e.primaryWeapon.get(), e.secondaryWeapon.get()}) {
            if (gun->rounds < 0 || gun->rounds > gun->magazineSize) {
                fail(who, " has ", gun->rounds, " rounds in a magazine of ", gun->magazineSize);
            }
        }
        for (const int32_t spare : e.spareRounds) {
            if (spare < 0) {
                fail(who, " carries ", spare, " spare rounds");
            }
        }
    }

    void checkLife(const std::string& who, const Entity& e) {
        if (e.health > kFullHealth) {
            fail(who, " has ", e.health, " health");
        }
        const bool knownState =
            e.state >= EntityState::Pursue && e.state <= EntityState::Reposition && e.state != 2;
        if (!knownState) {
            fail(who, " is in state ", e.state);
        }
        if (e.health > 0 && e.state == EntityState::Dead) {
            fail(who, " has ", e.health, " health but is dead");
        }
        if (!isKnown(e.target)) {
            fail(who, " targets something that is not a soldier");
        }
        for (const Bullet* fired : e.firedBullets) {
            if (flying_.count(fired) == 0) {
                fail(who, " remembers a bullet that is no longer in flight");
                break;
            }
        }
    }

    void checkSoldier(std::size_t index, const Entity& e) {
        std::ostringstream name;
        name << "soldier " << index << " (team " << e.team << " at " << e.x << "," << e.y << ")";
        const std::string who = name.str();
        if (!isKnown(&e)) {
            fail(who, " is not in the roster");
            return;
        }
        checkNumbers(who, e);
        checkPlace(who, e);
        checkGuns(who, e);
        checkLife(who, e);
    }

    // Only the dead leave the list, and nobody brings one back.
    void checkDroppedSoldiers() {
        const std::unordered_set<const Entity*> listed(world_.entities.begin(),
                                                       world_.entities.end());
        for (const auto& soldier : world_.roster) {
            if (listed.count(soldier.get()) == 0 && soldier->health > 0) {
                fail("a living soldier at ", soldier->x, ",", soldier->y, " left the list");
            }
        }
    }

    void checkSharedTiles() {
        if (world_.columns <= 0 || world_.rows <= 0) {
            return;
        }
        std::vector<const Entity*> standing(static_cast<std::size_t>(world_.columns) *
                                            static_cast<std::size_t>(world_.rows));
        for (const Entity* e : world_.entities) {
            if (e->health <= 0 || !isTile(e->x, e->y)) {
                continue;
            }
            const auto cell =
                static_cast<std::size_t>(e->x) * world_.rows + static_cast<std::size_t>(e->y);
            if (standing[cell] != nullptr) {
                fail("two living soldiers stand on ", e->x, ",", e->y);
            }
            standing[cell] = e;
        }
    }

    void checkBullets() {
        const std::size_t most = kMostBulletsPerSoldier * world_.roster.size();
        if (world_.bullets.size() > most) {
            fail(world_.bullets.size(), " bullets in flight, more than the ", most,
                 " the soldiers could ever fire");
        }
        for (std::size_t i = 0; i < world_.bullets.size(); ++i) {
            checkBullet(i, *world_.bullets[i]);
        }
    }

    void checkBullet(std::size_t index, const Bullet& b) {
        const double fields[] = {b.travelled, b.damage,  b.velocityX,  b.velocityY,
                                 b.unusedTwo, b.range,   b.x,          b.y,
                                 b.originX,   b.originY, b.aimDistance};
        for (const double v : fields) {
            if (!std::isfinite(v)) {
                fail("bullet ", index, " has a field that is ", v);
                return;
            }
        }
        if (std::fabs(b.velocityX) + std::fabs(b.velocityY) > kBulletStep + kStepTolerance) {
            fail("bullet ", index, " moves ", b.velocityX, ",", b.velocityY, " a step");
        }
        if (b.kind < GunKind::Standard || b.kind > GunKind::Rifle) {
            fail("bullet ", index, " is of kind ", b.kind);
        }
        if (!isKnown(b.owner) || !isKnown(b.target)) {
            fail("bullet ", index, " names something that is not a soldier");
        }
    }

    const World& world_;
    std::unordered_set<const Entity*> known_;
    std::unordered_set<const Bullet*> flying_;
    std::vector<std::string> broken_;
};

}  // namespace

std::vector<std::string> brokenInvariants(const World& world) {
    return Checker(world).run();
}
