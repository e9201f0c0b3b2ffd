// Spreads independent pieces of work over the machine's cores.
#pragma once

#include <cstddef>
#include <functional>

// Runs work(i) for every i below `count`, on this thread and on as many
// others as there are cores and at least `perThread` pieces for each, and
// returns when all are done. The pieces must not touch each other's data.
// An exception thrown by a piece is thrown again here once all are done.
void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& work, std::size_t perThread = 1);
