#include <gtest/gtest.h>

#include <climits>

#include "ai/Weapon.h"

namespace {

Weapon gun(int kind, int rounds) {
    Weapon w = *makeShotgun(nullptr);
    w.kind = kind;
    w.rounds = rounds;
    w.magazineSize = 0;
    return w;
}

}  // namespace

TEST(Weapon, reloadFillsFromTheOfferAndReturnsTheRest) {
    struct Case {
        int kind, rounds, amount, roundsAfter, returned;
    };
    const Case cases[] = {
        {GunKind::Shotgun, 1, 10, 4, 7}, {GunKind::Shotgun, 1, 2, 3, 0},
        {GunKind::Shotgun, 4, 6, 4, 6},  {GunKind::Shotgun, 1, 3, 4, 0},
        {GunKind::Rifle, 0, 2, 1, 1},    {GunKind::Rifle, 0, 0, 0, 0},
        {GunKind::Standard, 3, 5, 8, 0}, {GunKind::Standard, 3, 9, 10, 2},
    };
    for (const Case& c : cases) {
        Weapon w = gun(c.kind, c.rounds);
        EXPECT_EQ(w.reload(c.amount), c.returned) << c.kind << " " << c.rounds << " " << c.amount;
        EXPECT_EQ(w.rounds, c.roundsAfter);
    }
}

TEST(Weapon, reloadOfAnUnknownKindComplainsAndKeepsTheMagazine) {
    Weapon w = gun(7, 1);
    w.magazineSize = 3;
    testing::internal::CaptureStdout();
    EXPECT_EQ(w.reload(5), 3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "in the reload function in zolweapon, you passed in a gun that doesnt exist\n");
    EXPECT_EQ(w.magazineSize, 3);
    EXPECT_EQ(w.rounds, 3);
}

TEST(Weapon, hugeOfferSaturatesInsteadOfOverflowing) {
    Weapon w = gun(GunKind::Standard, 5);
    EXPECT_EQ(w.reload(INT_MAX), INT_MAX - 5);
    EXPECT_EQ(w.rounds, 10);
    w.rounds = INT_MIN + 1;
    w.reload(INT_MIN);
    EXPECT_EQ(w.rounds, INT_MIN);
}
