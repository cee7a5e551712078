// Work items computed on several threads and reported one by one in the
// order asked, whatever order they finish in.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace quarvessin::cli {

// Computes `compute(i)` for i = 0 ... n-1 on up to `jobs` threads and hands
// each result to `report(i, result)` on the calling thread, in order of i.
// When `report` returns false, or `stop()` returns true between items, the
// items not yet begun are not computed and nothing more is reported. Returns
// the number of items reported. `compute` must not throw.
template <class Result, class Compute, class Report, class Stop>
std::size_t runOrdered(std::size_t n, unsigned jobs, Compute compute, Report report, Stop stop) {
    std::vector<std::optional<Result>> results(n);
    std::vector<bool> skipped(n, false);
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> halted{false};

    // Every claimed index gets a result or a skip mark, so the reporting loop
    // never waits for an item nobody computes.
    auto worker = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= n) return;
            std::optional<Result> result;
            if (!halted.load() && !stop()) result.emplace(compute(i));
            {
                const std::lock_guard<std::mutex> lock(mutex);
                if (result) {
                    results[i] = std::move(result);
                } else {
                    skipped[i] = true;
                }
            }
            done.notify_one();
        }
    };
    const unsigned threads = static_cast<unsigned>(std::min<std::size_t>(std::max(jobs, 1u), n));
    std::vector<std::thread> pool;
    pool.reserve(threads);
    for (unsigned t = 0; t < threads; ++t) {
        try {
            pool.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running share the work
        }
    }
    // Not even one thread: the items are computed here, before the reports.
    if (pool.empty()) worker();

    // The rest is not computed once the reports stop: nothing reads it any
    // more. The workers are joined on every way out, a throwing report too.
    auto finish = [&] {
        halted.store(true);
        for (std::thread& t : pool) t.join();
    };
    std::size_t reported = 0;
    try {
        for (std::size_t i = 0; i < n; ++i) {
            std::optional<Result> result;
            {
                std::unique_lock<std::mutex> lock(mutex);
                done.wait(lock, [&] { return results[i].has_value() || skipped[i]; });
                if (skipped[i]) break;
                result = std::move(results[i]);
                results[i].reset();
            }
            ++reported;
            if (!report(i, std::move(*result))) break;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return reported;
}

}  // namespace quarvessin::cli
