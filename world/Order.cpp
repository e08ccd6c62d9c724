#include "world/Order.h"

#include "world/World.h"

void applyOrder(World&, const Order&) {
    // Filled in by the orders work; nothing calls it yet.
}
