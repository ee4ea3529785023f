// The shuffled rotation: each pass visits every entry once, from a random start with a random
// stride coprime with the entry count. The state is kept as the 16-byte "State" value.
// No platform headers.
#pragma once

#include <cstdint>

struct TrotationState {
    int32_t count = 0;
    int32_t current = 0;
    int32_t start = 0;
    int32_t step = 1;

    static const unsigned recordSize = 16;

    void toBytes(unsigned char out[recordSize]) const;
    void fromBytes(const unsigned char in[recordSize]);
    // True when the fields could have been written by the program: count within 0..maxEntries,
    // positions inside the index, and a stride that walks every position once; an empty index
    // has only the state (0, 0, 0, 1).
    bool isConsistent() const;
};

bool isCoprime(int32_t a, int32_t b);

// A draw from the program's generator: 0 to 2^31 - 1, never seeded, so every run draws the
// same sequence.
uint32_t nextDraw();

// A new pass for count entries from two draws (the start first, then the stride).
TrotationState drawPass(int32_t count, uint32_t startDraw, uint32_t strideDraw);

// Moves to the next position; true when that completes the pass (it is back at its start).
bool advanceRotation(TrotationState& state);
