#pragma once

#include <QThread>

#include <memory>
#include <optional>
#include <type_traits>

/// Runs `work` on a thread of its own and waits for its result: the runner's
/// calls block, so tests make them off the main thread, as the program does.
/// (Waiting on a QtConcurrent future would not do: QFuture::result() runs a
/// task that has not started yet on the waiting thread itself.)
template <typename Work>
auto onWorker(Work work)
{
    std::optional<std::invoke_result_t<Work>> result;
    const std::unique_ptr<QThread> thread(QThread::create([&] { result.emplace(work()); }));
    thread->start();
    thread->wait();
    return std::move(*result);
}
