// Work spread over all cores in blocks of consecutive indices, handed out as
// the cores finish, so uneven items even out.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace kl::core {

// Runs work(i) for every i in [0, count), `block` indices at a time, on the
// calling thread and one helper per further core; returns when all are done.
template <typename Work>
void forEachInBlocks(std::size_t count, std::size_t block, const Work& work)
{
    std::atomic<std::size_t> nextBlock{0};
    const auto run = [&] {
        for (;;) {
            const std::size_t first = nextBlock.fetch_add(1) * block;
            if (first >= count)
                return;
            const std::size_t last = std::min(count, first + block);
            for (std::size_t i = first; i < last; ++i)
                work(i);
        }
    };
    const std::size_t blocks = (count + block - 1) / block;
    const std::size_t helpers = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()) - 1,
                                                      blocks > 0 ? blocks - 1 : 0);
    std::vector<std::jthread> threads;
    threads.reserve(helpers);
    for (std::size_t i = 0; i < helpers; ++i)
        threads.emplace_back(run);
    run();
}

} // namespace kl::core
