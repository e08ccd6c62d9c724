#include "ai/Weapon.h"

#include <cstdint>

#include "base/Problem.h"
#include "base/SaturatingInt.h"

int Weapon::reload(int amount) {
    switch (kind) {
        case GunKind::Standard:
            magazineSize = 10;
            break;
        case GunKind::Shotgun:
            magazineSize = 4;
            break;
        case GunKind::Rifle:
            magazineSize = 1;
            break;
        default:
            reportProblem(
                "in the reload function in zolweapon, you passed in a gun that doesnt exist");
            break;
    }
    if (rounds >= magazineSize) {
        return amount;
    }
    // Spare rounds are small; an absurd offer saturates instead of overflowing. Sums of a few
    // ints are exact in a double.
    const int64_t missing = static_cast<int64_t>(magazineSize) - rounds;
    if (amount < missing) {
        rounds = saturatingInt(static_cast<double>(rounds) + amount);
        return 0;
    }
    const int unused = saturatingInt(static_cast<double>(amount) + rounds - magazineSize);
    rounds = magazineSize;
    return unused;
}

std::unique_ptr<Weapon> makeShotgun(Entity* owner) {
    return std::make_unique<Weapon>(
        Weapon{3, 3, 4, 4, 3000, 3000, {1.0, 2.0, 3.0}, GunKind::Shotgun, owner});
}

std::unique_ptr<Weapon> makeRifle(Entity* owner) {
    return std::make_unique<Weapon>(
        Weapon{20, 12, 1, 1, 5000, 2000, {4.0, 8.0, 12.0}, GunKind::Rifle, owner});
}
