#pragma once
// Helpers shared by the simulator's tests.
#include "core/link/Frame.h"
#include "sim/Controller.h"

#include <initializer_list>
#include <vector>

namespace rz::sim::test {

inline std::vector<uint8_t> frame(uint8_t command, std::initializer_list<uint8_t> payload = {})
{
    const std::vector<uint8_t> p(payload);
    return link::buildFrame(command, p);
}

inline std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

class RecordingListener : public ControllerListener {
public:
    void onEvent(const ControllerEvent& e) override { events.push_back(e); }
    std::vector<EventKind> kinds() const
    {
        std::vector<EventKind> k;
        for (const auto& e : events)
            k.push_back(e.kind);
        return k;
    }
    std::vector<ControllerEvent> events;
};

// Every frame the PC's own parser accepts from the bytes, as (command, payload).
struct ParsedFrame {
    uint8_t command;
    std::vector<uint8_t> payload;
    bool operator==(const ParsedFrame&) const = default;
};

inline std::vector<ParsedFrame> parseAsPc(const std::vector<uint8_t>& bytes)
{
    link::FrameParser parser;
    std::vector<ParsedFrame> frames;
    parser.append(bytes);
    parser.parse([&](uint8_t c, std::span<const uint8_t> p) {
        frames.push_back({c, {p.begin(), p.end()}});
    });
    return frames;
}

} // namespace rz::sim::test
