#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ai/Entity.h"
#include "app/GameState.h"
#include "world/World.h"

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

    // Selection operations shared by the mouse and the keys.
    void toggleSelection(Entity* entity);
    void setSelectionState(int state);
    void moveSelectionTo(int column, int row);
    void setSelectionTarget(int column, int row);
    void damageSelection();
    void healSelection();

    // The modifier keys of the current button event (the bits of app/GlutValues.h). The game
    // reads them from GLUT; tests and tools install their own reader.
    using ModifierReader = int (*)();
    static void setModifierReader(ModifierReader reader);

    std::unique_ptr<World> world;
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
        int32_t team;
        int32_t fellAt;  // gameClock() when it was first seen dead
    };
    static constexpr int32_t kFallenShownMs = 5000;
    std::vector<Fallen> fallen;
    bool isFallenShown(const Fallen& body) const;

private:
    void noteFallen();
    const World* fallenOf = nullptr;  // the World whose soldiers `fallen` holds
};
