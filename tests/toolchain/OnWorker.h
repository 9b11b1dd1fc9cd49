#pragma once

#include <optional>
#include <thread>
#include <type_traits>

/// Runs `work` on a thread of its own and waits for its result: the runner's
/// calls block, so tests make them off the main thread, as the program does.
/// (Waiting on a QtConcurrent future would not do: QFuture::result() runs a
/// task that has not started yet on the waiting thread itself. A std::thread
/// rather than a QThread: ThreadSanitizer sees its join.)
template <typename Work>
auto onWorker(Work work)
{
    std::optional<std::invoke_result_t<Work>> result;
    std::thread([&] { result.emplace(work()); }).join();
    return std::move(*result);
}
