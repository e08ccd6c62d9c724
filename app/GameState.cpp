#include "app/GameState.h"
