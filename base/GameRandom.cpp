#include "base/GameRandom.h"

#include <array>
#include <cstdint>

namespace {

// glibc's additive feedback generator of degree 31: every word is the sum, modulo 2^32, of the
// words 31 and 3 places before it, and rand() returns it without its lowest bit.
constexpr int kDegree = 31;
constexpr int kSeparation = 3;
constexpr int kDiscarded = 10 * kDegree;

using FeedbackState = GameRandomState;
static_assert(std::tuple_size_v<decltype(FeedbackState::words)> == kDegree);

// The Park–Miller step word := 16807 * word mod (2^31 - 1), in the signed form glibc uses, so
// that a seed above 2^31 - 1, negative as a 32-bit int, starts the same words as there.
int32_t parkMillerStep(int32_t word) {
    const int64_t hi = word / 127773;
    const int64_t lo = word % 127773;
    int64_t next = 16807 * lo - 2836 * hi;
    if (next < 0) {
        next += 2147483647;
    }
    return static_cast<int32_t>(next);
}

uint32_t nextWord(FeedbackState& state) {
    const int behind = (state.next + kDegree - kSeparation) % kDegree;
    const uint32_t word = state.words[state.next] + state.words[behind];
    state.words[state.next] = word;
    state.next = (state.next + 1) % kDegree;
    return word;
}

FeedbackState seededState(unsigned int seed) {
    FeedbackState state;
    int32_t word = static_cast<int32_t>(seed == 0 ? 1 : seed);
    state.words[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < kDegree; ++i) {
        word = parkMillerStep(word);
        state.words[i] = static_cast<uint32_t>(word);
    }
    // Words 31 to 33 repeat words 0 to 2, so the first new word is word 34, in slot 3.
    state.next = kSeparation;
    for (int i = 0; i < kDiscarded; ++i) {
        nextWord(state);
    }
    return state;
}

FeedbackState current = seededState(1);
// Set once a battle's seed is chosen: the start-up's seeding with the time no longer applies.
bool seedFixed = false;

}  // namespace

int gameRand() {
    return static_cast<int>(nextWord(current) >> 1);
}

void seedGameRand(unsigned int seed) {
    current = seededState(seed);
}

void fixGameSeed(unsigned int seed) {
    seedFixed = true;
    seedGameRand(seed);
}

void seedGameRandUnlessFixed(unsigned int seed) {
    if (!seedFixed) {
        seedGameRand(seed);
    }
}

GameRandomState gameRandomState() {
    return current;
}

void restoreGameRandomState(const GameRandomState& state) {
    current = state;
    current.next = ((state.next % kDegree) + kDegree) % kDegree;
}
