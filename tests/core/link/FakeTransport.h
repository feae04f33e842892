#pragma once
// A transport for link tests: records what is written and lets the test hand bytes back,
// either at once, on the next poll, or as an answer to a write.
#include "core/link/Transport.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

namespace rz::test {

class FakeTransport : public link::Transport {
public:
    using Bytes = std::vector<uint8_t>;

    bool isOpen() const override { return open; }
    void write(std::span<const uint8_t> bytes) override
    {
        if (!open)
            return;
        writes.emplace_back(bytes.begin(), bytes.end());
        if (onWrite)
            onWrite(writes.back());
    }
    void poll() override
    {
        ++polls;
        if (!onPoll.empty()) {
            Bytes b = std::move(onPoll.front());
            onPoll.pop_front();
            push(b);
        }
    }
    // Delivers bytes to the installed receiver now.
    void push(const Bytes& bytes) { deliver(bytes); }

    bool open = true;
    std::vector<Bytes> writes;
    std::deque<Bytes> onPoll; // one entry is delivered per poll (an empty entry delivers nothing)
    std::function<void(const Bytes&)> onWrite;
    int polls = 0;
};

} // namespace rz::test
