#pragma once
// The receiving end of a transport in tests: assembles delivered bytes into frames with the
// link's own frame parser and keeps every frame in order.
#include "core/link/Frame.h"
#include "core/link/Transport.h"

#include <cstdint>
#include <vector>

namespace rz::test {

struct CollectedFrame {
    uint8_t command = 0;
    std::vector<uint8_t> payload;
    bool operator==(const CollectedFrame&) const = default;
};

class FrameCollector {
public:
    void attach(link::Transport& transport)
    {
        transport.setReceiver([this](std::span<const uint8_t> bytes) {
            deliveries.push_back({bytes.begin(), bytes.end()});
            parser.append(bytes);
            parser.parse([this](uint8_t command, std::span<const uint8_t> payload) {
                frames.push_back({command, {payload.begin(), payload.end()}});
            });
        });
    }

    std::size_t deliveredBytes() const
    {
        std::size_t n = 0;
        for (const auto& d : deliveries)
            n += d.size();
        return n;
    }

    link::FrameParser parser;
    std::vector<CollectedFrame> frames;
    std::vector<std::vector<uint8_t>> deliveries;
};

inline std::vector<uint8_t> frameBytes(uint8_t command, std::vector<uint8_t> payload = {})
{
    return link::buildFrame(command, payload);
}

inline std::vector<uint8_t> joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace rz::test
