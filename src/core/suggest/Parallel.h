#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace suggest {

// Runs work(i) for every i below count, on as many threads as the processor runs at once (one
// for a small count). Each i is worked on once, by one thread; work must touch only what is its
// i's own.
template <typename Work> void forEachInParallel(size_t count, Work work) {
    const size_t threads =
        count < 2000 ? 1 : std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    auto part = [&](size_t first) {
        for (size_t i = first; i < count; i += threads)
            work(i);
    };
    std::vector<std::thread> running;
    for (size_t first = 1; first < threads; ++first)
        running.emplace_back(part, first);
    part(0);
    for (std::thread& t : running)
        t.join();
}

} // namespace suggest
