// The fleet runner in process: the parallel limit, results in the rooms' order, and a stop.
#include "ctl/FleetRunner.h"

#include <gtest/gtest.h>

#include <QThread>

#include <algorithm>
#include <atomic>

namespace rz::test {
namespace {

using rz::ctl::FleetRunner;
using rz::ctl::Room;
using rz::ctl::RoomResult;
using rz::ctl::RoomStatus;

std::vector<Room> roomsNamed(int n)
{
    std::vector<Room> rooms(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        rooms[static_cast<std::size_t>(i)].name = QString::number(i + 1);
    return rooms;
}

TEST(FleetRunner, AtMostParallelJobsAtATimeAndResultsInRoomOrder)
{
    for (const int parallel : {1, 3, 64}) {
        const auto rooms = roomsNamed(9);
        std::atomic<int> running{0};
        std::atomic<int> most{0};
        std::vector<std::size_t> finishedOrder;
        FleetRunner runner;
        runner.onFinished = [&](std::size_t i, const RoomResult&) { finishedOrder.push_back(i); };
        const auto results = runner.run(rooms, parallel, [&](const Room& room, const std::function<bool()>&) {
            const int now = ++running;
            for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
            }
            QThread::msleep(20);
            --running;
            RoomResult r;
            r.status = room.name.toInt() % 4 == 0 ? RoomStatus::failed : RoomStatus::ok;
            r.detail = "room " + room.name.toStdString();
            return r;
        });
        EXPECT_LE(most, std::min(parallel, 9)) << parallel;
        EXPECT_GE(most, 1);
        ASSERT_EQ(results.size(), 9u);
        for (std::size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(results[i].detail, "room " + std::to_string(i + 1));
            EXPECT_EQ(results[i].status, (i + 1) % 4 == 0 ? RoomStatus::failed : RoomStatus::ok);
            EXPECT_GT(results[i].seconds, 0.0);
        }
        EXPECT_EQ(finishedOrder.size(), 9u);
        EXPECT_FALSE(runner.stopped());
    }
}

// A stop after the first room: the running jobs are told and end as cancelled, no room starts
// after it.
TEST(FleetRunner, AStopCancelsTheRunningRoomsAndStartsNoMore)
{
    const auto rooms = roomsNamed(5);
    std::atomic<bool> stopNow{false};
    std::atomic<int> started{0};
    FleetRunner runner;
    runner.stopRequested = [&] { return stopNow.load(); };
    runner.onFinished = [&](std::size_t, const RoomResult&) { stopNow = true; };
    const auto results = runner.run(rooms, 2, [&](const Room& room, const std::function<bool()>& stop) {
        RoomResult r;
        ++started;
        if (room.name == QLatin1String("1")) {
            while (started < 2) // the other worker has a room of its own
                QThread::msleep(1);
            r.status = RoomStatus::ok;
            return r;
        }
        while (!stop()) // a transfer that goes on until it is told to stop
            QThread::msleep(1);
        r.status = RoomStatus::failed;
        return r;
    });
    EXPECT_TRUE(runner.stopped());
    EXPECT_EQ(results[0].status, RoomStatus::ok);
    // One or two jobs were running when the stop came (the first worker may have taken the
    // next room before it); every other room never started.
    const auto count = [&](RoomStatus s) {
        return std::count_if(results.begin(), results.end(), [s](const RoomResult& r) { return r.status == s; });
    };
    EXPECT_GE(count(RoomStatus::cancelled), 1);
    EXPECT_LE(count(RoomStatus::cancelled), 2);
    EXPECT_EQ(count(RoomStatus::cancelled) + count(RoomStatus::notStarted), 4);
}

} // namespace
} // namespace rz::test
