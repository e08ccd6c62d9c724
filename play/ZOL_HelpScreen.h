#pragma once

#include "app/GameState.h"

// The help picture over the paused battle; the next left press, or Esc, closes it.
class ZOL_HelpScreen : public GameState {
public:
    using GameState::GameState;

    bool draw() override;
    void mouseButton(int button, int state, int x, int y) override;
    void keyboard(int key, int x, int y) override;
};
