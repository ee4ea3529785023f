// What the benchmarks share: time read from the performance counter, the median and 95th
// percentile of a set of samples, and whether another program's window still waits to be painted.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double secondsNow() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double millisecondsNow() { return 1000.0 * secondsNow(); }

struct TbenchFigures {
    double median, p95;
};

// The 95th percentile by nearest rank, rounded up.
inline TbenchFigures figuresOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return {median, samples[(95 * n + 99) / 100 - 1]};
}

// The value a fraction q of the way through the sorted samples, between neighbours.
inline double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double at = q * (values.size() - 1);
    const size_t below = size_t(at);
    const double above = below + 1 < values.size() ? values[below + 1] : values[below];
    return values[below] + (above - values[below]) * (at - below);
}

inline BOOL CALLBACK noteUpdate(HWND child, LPARAM pending) {
    if (GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(pending) = true;
    return TRUE;
}

// Some part of the window or a child still waits to be painted.
inline bool paintPending(HWND window) {
    bool pending = GetUpdateRect(window, nullptr, FALSE) != 0;
    EnumChildWindows(window, noteUpdate, reinterpret_cast<LPARAM>(&pending));
    return pending;
}
