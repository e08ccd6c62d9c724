#pragma once

#include <string>
#include <vector>

#include "app/FixedStepLoop.h"
#include "app/GameStateManager.h"
#include "app/Letterbox.h"
#include "app/ShownFrame.h"
#include "app/oglApp.h"

class ZOL_MainState;

// The game: advances its state manager in fixed steps on a steady clock, draws the picture
// letterboxed into the window when it changed and hands every input event, in screen pixels,
// to the manager.
class dromlin1App : public oglApp {
public:
    // Opens the window, creates the resource catalogue (which needs the window's GL context)
    // and queues the battle.
    dromlin1App(int& argc, char** argv, const char* title, int width, int height);

    // Runs the steps that are due, at most four.
    void update() override;
    // The window must show the picture again (an expose): it is drawn whatever it holds.
    void display() override;
    void mouseMotion(int x, int y) override;
    void mouseButton(int button, int state, int x, int y) override;
    void keyboard(int key, int x, int y) override;
    void reshape(int width, int height) override;
    // Draws once after the steps that were due; with none due, sleeps until the next one.
    void idle() override;
    // Runs the steps that are due and then draws the picture, unless it is the one on the
    // screen already; with none due, draws nothing. Returns how many ran. The browser, which
    // forbids sleeping, calls it every animation frame.
    int stepAndDraw();
    int64_t stepsTaken() const { return pace.stepsTaken(); }
    // Steps the battle itself ran: these stand still while it is paused.
    int64_t battleSteps() const;
    // Why the window shows no battle; empty when the pictures and the map loaded.
    const std::vector<std::string>& startupNotice() const { return notice; }

    GameStateManager stateManager;

protected:
    // Runs the steps that are due, at most four; returns how many.
    virtual int runDueSteps();
    // What is drawn over the picture, outside the frame the screen keeps: whether it changed
    // since last drawn (the frame is then drawn again), and its drawing.
    virtual bool overlayChanged() { return false; }
    virtual void drawOverlay() {}
    // The battle, once added (it may still be queued); null before.
    ZOL_MainState* playState() const;
    // The steady clock the steps are paced by.
    static int64_t steadyMicros();

    FixedStepLoop pace;

private:
    void drawIfChanged();

    Letterbox letterbox;
    ShownFrame shownFrame;
    std::vector<std::string> notice;
};
