#include "ctl/FleetRunner.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace rz::ctl {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);

// What the workers and the collecting thread share.
struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<std::size_t, RoomResult>> finished;
    int workersLeft = 0;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
};

void work(Shared& shared, const std::vector<Room>& rooms, const RoomJob& job)
{
    const std::function<bool()> stopRequested = [&shared] { return shared.stop.load(); };
    for (;;) {
        if (shared.stop)
            break;
        const std::size_t i = shared.next++;
        if (i >= rooms.size())
            break;
        const auto start = std::chrono::steady_clock::now();
        RoomResult r = job(rooms[i], stopRequested);
        r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (r.status != RoomStatus::ok && shared.stop)
            r.status = RoomStatus::cancelled;
        const std::lock_guard lock(shared.mutex);
        shared.finished.emplace_back(i, std::move(r));
        shared.changed.notify_all();
    }
    const std::lock_guard lock(shared.mutex);
    --shared.workersLeft;
    shared.changed.notify_all();
}

} // namespace

std::vector<RoomResult> FleetRunner::run(const std::vector<Room>& rooms, int parallel, const RoomJob& job)
{
    std::vector<RoomResult> results(rooms.size());
    Shared shared;
    const int workers = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(parallel, 1)), rooms.size()));
    shared.workersLeft = workers;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back(QThread::create([&shared, &rooms, &job] { work(shared, rooms, job); }));
        threads.back()->start();
    }

    std::unique_lock lock(shared.mutex);
    for (;;) {
        while (!shared.finished.empty()) {
            auto [i, r] = std::move(shared.finished.front());
            shared.finished.pop_front();
            results[i] = std::move(r);
            lock.unlock();
            if (onFinished)
                onFinished(i, results[i]);
            lock.lock();
        }
        if (shared.workersLeft == 0)
            break;
        if (!shared.stop && stopRequested && stopRequested())
            shared.stop = true;
        shared.changed.wait_for(lock, kPollInterval);
    }
    lock.unlock();
    for (auto& t : threads)
        t->wait();
    wasStopped = shared.stop && std::any_of(results.begin(), results.end(), [](const RoomResult& r) {
                     return r.status == RoomStatus::cancelled || r.status == RoomStatus::notStarted;
                 });
    return results;
}

} // namespace rz::ctl
