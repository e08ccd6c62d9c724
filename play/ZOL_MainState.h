#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ai/Entity.h"
#include "app/GameState.h"
#include "world/Order.h"
#include "world/World.h"

class VersusSession;
struct BattleStart;

// The battle: owns the World, advances it one step per update, draws the scene with the player's
// overlays and turns mouse and keys into orders.
class ZOL_MainState : public GameState {
public:
    ZOL_MainState(int id, GameStateManager* manager);
    ~ZOL_MainState() override;

    bool update() override;
    bool draw() override;
    void mouseMotion(int x, int y) override;
    void mouseButton(int button, int state, int x, int y) override;
    void keyboard(int key, int x, int y) override;
    // Against another player the battle goes on under the help picture.
    bool updatesWhilePaused() const override { return versus_ != nullptr; }

    void toggleSelection(Entity* entity);

    // Orders for the selected soldiers, shared by the mouse and the keys. Each builds one Order
    // from the player of the current view and gives it; an empty selection gives none.
    void orderSelection(int kind);                         // the kinds that take no tile
    void orderSelectionTo(int kind, int column, int row);  // Move, Advance
    void orderSelectionToPursue(const Entity& target);

    // An order of `kind` from the player of the current view, naming no soldier yet.
    Order playerOrder(int kind) const;
    // The one way an order of the player reaches the battle. It is carried out at once: input
    // arrives between two updates, so this is a step boundary.
    void giveOrder(const Order& order);

    // Shown every order given, with the number of the step it is carried out before (step 1 is
    // this state's first update). None is installed in the game.
    using OrderObserver = std::function<void(const Order& order, int64_t step)>;
    void setOrderObserver(OrderObserver observer);

    // The modifier keys of the current button event (the bits of app/GlutValues.h). The game
    // reads them from GLUT; tests and tools install their own reader.
    using ModifierReader = int (*)();
    static void setModifierReader(ModifierReader reader);

    // A battle against another player, whose session (not owned) carries the orders both ways
    // and says when the battle may step. The World is loaded from the server's start, as every
    // player's is, and the player sees and commands only their own team. Null: the one-player
    // game.
    void playVersus(VersusSession* session);
    // The server's battle, set up as every player and the server's replay set it up; false when
    // its map does not load.
    bool loadVersusBattle(const BattleStart& start);
    VersusSession* versus() const { return versus_; }

    std::unique_ptr<World> world;
    // Whether map1.txt was read; without it the window says what went wrong instead.
    bool mapLoaded = false;
    // Steps of the battle run so far: none while it is paused under the help picture.
    int64_t battleSteps = 0;
    int dragStartX = -1;
    int dragStartY = -1;
    int cursorX = 0;
    int cursorY = 0;
    bool dragging = false;
    int drawTileSize = TILE_SIZE;
    double drawZoom = 0.0;
    double drawOffsetX = 0.0;
    double drawOffsetY = 0.0;
    std::vector<Entity*> selection;  // not owned; each soldier at most once

    // A soldier that fell, as the drawing remembers it: the World drops the dead from its list
    // within a step or two, yet their dead picture stays where they fell for a while.
    struct Fallen {
        const Entity* entity;  // in the World's roster, which outlives the list
        DrawPoint place;       // where its body was drawn as it fell, in tile units
        int32_t fellAt;        // gameClock() when it was first seen dead
    };
    static constexpr int32_t kFallenShownMs = 5000;
    std::vector<Fallen> fallen;
    bool isFallenShown(const Fallen& body) const;

private:
    Order selectionOrder(int kind) const;
    void noteFallen();
    void takeStep();
    bool updateVersus();
    void giveVersusOrder(Order order);

    OrderObserver orderObserver_;
    VersusSession* versus_ = nullptr;
    const World* fallenOf = nullptr;  // the World whose soldiers `fallen` holds
};
