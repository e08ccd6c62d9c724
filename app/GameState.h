#pragma once

#include <cstdint>

class GameStateManager;

// What the manager does with a state: update and input only while running, drawn while
// running or paused, removed once finished.
namespace StateStatus {
enum : int { Running = 0, Paused = 1, Finished = 3 };
}

// Base of every screen of the game.
class GameState {
public:
    GameState(int id, GameStateManager* manager);
    virtual ~GameState() = default;

    virtual bool setStatus(int value);
    virtual int getStatus() const;
    virtual int getId() const;
    virtual bool init();
    virtual bool update();
    virtual bool draw();
    virtual void mouseMotion(int x, int y);
    virtual void mouseButton(int button, int state, int x, int y);
    virtual void keyboard(int key, int x, int y);
    virtual void setClearColour();
    // Whether the manager updates it while paused under another screen (it still gets no
    // input then): a battle against another player cannot stop for one of them.
    virtual bool updatesWhilePaused() const { return false; }

protected:
    int status = StateStatus::Running;
    int id;
    bool active = true;
    GameStateManager* manager;
    int32_t startTicks;
};
