// Rotation arithmetic and the state's byte layout.
#include "vocab/rotation.h"

#include <random>

#include "base/littleendian.h"
#include "vocab/entrylimit.h"

namespace {
void put32(unsigned char* at, int32_t value) {
    putLittleEndian32(at, static_cast<uint32_t>(value));
}
int32_t get32(const unsigned char* at) { return static_cast<int32_t>(getLittleEndian32(at)); }
}  // namespace

void TrotationState::toBytes(unsigned char out[recordSize]) const {
    put32(out, count);
    put32(out + 4, current);
    put32(out + 8, start);
    put32(out + 12, step);
}

void TrotationState::fromBytes(const unsigned char in[recordSize]) {
    count = get32(in);
    current = get32(in + 4);
    start = get32(in + 8);
    step = get32(in + 12);
}

bool TrotationState::isConsistent() const {
    if (count < 0 || count > maxEntries || step < 1) return false;
    if (count == 0) return current == 0 && start == 0 && step == 1;
    if (current < 0 || current >= count || start < 0 || start >= count) return false;
    return step == 1 || (step < count && isCoprime(count, step));
}

bool isCoprime(int32_t a, int32_t b) {
    if (a <= 0 || b <= 0) return false;
    int32_t r = a % b;
    while (r != 0) {
        a = b;
        b = r;
        r = a % b;
    }
    return b == 1;
}

uint32_t nextDraw() {
    static std::mt19937 generator;  // default seed on purpose: the program never seeds it
    return generator() >> 1;
}

TrotationState drawPass(int32_t count, uint32_t startDraw, uint32_t strideDraw) {
    TrotationState state;
    state.count = count;
    state.start = count != 0 ? static_cast<int32_t>(startDraw % static_cast<uint32_t>(count)) : 0;
    state.current = state.start;
    int32_t candidate =
        count != 0 ? static_cast<int32_t>(strideDraw % static_cast<uint32_t>(count)) : 0;
    if (candidate == 0) candidate = 1;
    while (candidate > 1 && !isCoprime(count, candidate)) --candidate;
    state.step = candidate;
    return state;
}

bool advanceRotation(TrotationState& state) {
    if (state.count <= 0) return true;
    state.current += state.step;
    if (state.current >= state.count) state.current %= state.count;
    return state.current == state.start;
}
