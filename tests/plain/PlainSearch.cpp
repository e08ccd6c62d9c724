#include "PlainSearch.h"

#include <cmath>
#include <memory>

#include "world/World.h"

namespace {

struct Neighbour {
    int dx;
    int dy;
    int cost;
};

constexpr Neighbour kNeighbours[8] = {{0, -1, 10}, {1, 0, 10}, {0, 1, 10},  {-1, 0, 10},
                                      {1, -1, 14}, {1, 1, 14}, {-1, 1, 14}, {-1, -1, 14}};

class PlainSearch {
public:
    PlainSearch(int startX, int startY, int goalX, int goalY, int columns, int rows,
                const World& world)
        : startX_(startX),
          startY_(startY),
          goalX_(goalX),
          goalY_(goalY),
          columns_(columns),
          rows_(rows),
          world_(world) {}

    SearchResult run() {
        if (startX_ < 0 || startX_ >= columns_ || startY_ < 0 || startY_ >= rows_) {
            return SearchResult{{}, goalX_, goalY_};
        }
        buildGrid();
        search();
        return SearchResult{waypoints_, goalX_, goalY_};
    }

private:
    void buildGrid() {
        nodes_.resize(static_cast<std::size_t>(columns_));
        for (int x = 0; x < columns_; ++x) {
            for (int y = 0; y < rows_; ++y) {
                auto node = std::make_unique<PathNode>();
                node->open = world_.isTileFree(x, y);
                node->parent = nullptr;
                node->h = -1;
                node->g = 0;
                node->f = 0;
                node->x = x;
                node->y = y;
                node->goalX = goalX_;
                node->goalY = goalY_;
                node->stepCost = 0;
                nodes_[x].push_back(std::move(node));
            }
        }
    }

    int manhattan(int x, int y) const {
        return static_cast<int>(std::fabs(static_cast<double>(x) - goalX_) +
                                std::fabs(static_cast<double>(y) - goalY_));
    }

    void search() {
        PathNode* start = nodes_[startX_][startY_].get();
        start->g = 0;
        if (start->open) {
            start->h = manhattan(startX_, startY_);
            start->f = start->h;
            start->parent = nullptr;
            start->stepCost = 0;
            start->open = false;
        }
        openList_.push_back(start);
        while (!openList_.empty()) {
            PathNode* chosen = openList_[0];
            for (PathNode* candidate : openList_) {
                if (candidate->f < chosen->f) {
                    chosen = candidate;
                }
            }
            for (auto it = openList_.begin(); it != openList_.end(); ++it) {
                if (*it == chosen) {
                    openList_.erase(it);
                    break;
                }
            }
            for (const Neighbour& n : kNeighbours) {
                if (tryNeighbour(n, chosen)) {
                    buildWaypoints();
                    return;
                }
            }
        }
        fallback();
    }

    bool tryNeighbour(const Neighbour& n, PathNode* e) {
        const int nx = e->x + n.dx;
        const int ny = e->y + n.dy;
        if (nx < 0 || nx >= columns_ || ny < 0 || ny >= rows_) {
            return false;
        }
        bool cornerForbidden = false;
        if (n.dx != 0 && n.dy != 0) {
            cornerForbidden = world_.tileKind(nx, e->y) == TileKind::Obstacle ||
                              world_.tileKind(e->x, ny) == TileKind::Obstacle;
        }
        PathNode* neighbour = nodes_[nx][ny].get();
        if (!neighbour->open || cornerForbidden) {
            return false;
        }
        openList_.push_back(neighbour);
        reach(neighbour, e->g + n.cost, e);
        return nx == goalX_ && ny == goalY_;
    }

    void reach(PathNode* node, int cost, PathNode* parent) {
        if (!node->open) {
            return;
        }
        node->h = manhattan(node->x, node->y);
        node->parent = parent;
        node->g = cost;
        node->f = node->g + node->h;
        node->open = false;
        if (parent == nullptr) {
            node->stepCost = 0;
        } else if (node->x == parent->x || node->y == parent->y) {
            node->stepCost = 10;
        } else {
            node->stepCost = 14;
        }
    }

    void fallback() {
        int bound = world_.columns + world_.rows + 1;
        PathNode* best = nullptr;
        for (int x = 0; x < columns_; ++x) {
            for (int y = 0; y < rows_; ++y) {
                PathNode* node = nodes_[x][y].get();
                if (0 <= node->h && node->h < bound) {
                    best = node;
                    bound = node->h;
                }
            }
        }
        if (best == nullptr) {
            return;
        }
        goalX_ = best->x;
        goalY_ = best->y;
        buildWaypoints();
    }

    void buildWaypoints() {
        PathNode* node = nodes_[goalX_][goalY_].get();
        std::vector<PathNode*> collected;
        if (node->parent != nullptr) {
            for (; node != nullptr; node = node->parent) {
                collected.push_back(node);
            }
        }
        waypoints_.clear();
        for (auto it = collected.rbegin(); it != collected.rend(); ++it) {
            waypoints_.push_back(Waypoint{(*it)->x, (*it)->y, (*it)->stepCost});
        }
    }

    const int startX_;
    const int startY_;
    int goalX_;
    int goalY_;
    const int columns_;
    const int rows_;
    const World& world_;
    std::vector<std::vector<std::unique_ptr<PathNode>>> nodes_;
    std::vector<PathNode*> openList_;
    std::vector<Waypoint> waypoints_;
};

}  // namespace

SearchResult plainSearch(int startX, int startY, int goalX, int goalY, int columns, int rows,
                         const World& world) {
    return PlainSearch(startX, startY, goalX, goalY, columns, rows, world).run();
}
