#include "model/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& work, std::size_t perThread)
{
    if (count == 0) return;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min(cores, std::max<std::size_t>(1, count / std::max<std::size_t>(1, perThread)));
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto run = [&] {
        for (std::size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureMutex);
                if (!failure) failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(run);
    run();
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}
