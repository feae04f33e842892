#include "sim/Controller.h"

#include "core/link/Frame.h"

#include <algorithm>

namespace rz::sim {

namespace {
uint16_t subKey(uint8_t command, uint8_t firstByte)
{
    return static_cast<uint16_t>(command << 8 | firstByte);
}
} // namespace

// What a family sees while it handles one frame. Its events wait until the frame's own event
// has gone out, so listeners read cause before effect.
class Controller::Context : public FamilyContext {
public:
    explicit Context(Controller& c) : c(c) {}
    void reply(uint8_t command, std::span<const uint8_t> payload) override
    {
        c.queueReply(command, payload, events);
    }
    void report(ControllerEvent event) override { events.push_back(std::move(event)); }
    void describeOutput(const LiveOutput& o) override { output = o; }
    void restart() override { c.restart(events); }
    uint32_t nowMs() override { return c.clock.nowMs(); }

    Controller& c;
    std::vector<ControllerEvent> events;
    std::optional<LiveOutput> output;
};

Controller::Controller(Clock& clock, const FaultPolicy& faultPolicy)
    : clock(clock), faults(faultPolicy), lastInputMs(clock.nowMs())
{
    route(kConnectCommand, handshakeFamily);
    route(kKeepAliveCommand, handshakeFamily);
    route(kRestartCommand, handshakeFamily);
    route(kEventCommand, kPollSubCommand, handshakeFamily);
    route(kLiveFrameCommand, liveOutput);
    transferFamilies.routeInto(*this);
    room.routeInto(*this);
    route(link::cmd::kRdm, rdmResponders);
    route(kRoomCommand, kInfraredSub, infraredFunctions);
    route(kRoomCommand, kAirConSub, infraredFunctions);
    route(kRoomCommand, kAssociationSub, sceneAssociations);
}

void Controller::inject(const std::function<void(FamilyContext&)>& act)
{
    Context context(*this);
    act(context);
    for (const ControllerEvent& e : context.events)
        notify(e);
}

void Controller::sendUnprompted(uint8_t command, std::span<const uint8_t> payload)
{
    inject([&](FamilyContext& context) { context.reply(command, payload); });
}

void Controller::route(uint8_t command, CommandFamily& family)
{
    routes[command] = &family;
    if (std::find(families.begin(), families.end(), &family) == families.end())
        families.push_back(&family);
}

void Controller::route(uint8_t command, uint8_t firstByte, CommandFamily& family)
{
    subRoutes[subKey(command, firstByte)] = &family;
    if (std::find(families.begin(), families.end(), &family) == families.end())
        families.push_back(&family);
}

uint32_t Controller::framesReceived(uint8_t command, uint8_t firstByte) const
{
    auto it = perSubCommand.find(subKey(command, firstByte));
    return it == perSubCommand.end() ? 0 : it->second;
}

void Controller::receive(std::span<const uint8_t> bytes)
{
    const uint32_t now = clock.nowMs();
    if (reader.pendingBytes() > 0 && now - lastInputMs > kPartialFrameTimeoutMs) {
        if (const std::size_t n = reader.abandonPartial())
            reportDrop(DropReason::Abandoned, n);
    }
    if (!bytes.empty())
        lastInputMs = now;
    reader.append(bytes);
    while (auto result = reader.next()) {
        if (result->frame)
            dispatch(std::move(*result->frame));
        else
            reportDrop(result->dropped, result->droppedLength);
    }
}

void Controller::reportDrop(DropReason reason, std::size_t length)
{
    switch (reason) {
    case DropReason::BadChecksum: ++link.badChecksums; break;
    case DropReason::BadLength: ++link.badLengths; break;
    case DropReason::Abandoned: ++link.abandonedPartials; break;
    }
    ControllerEvent e;
    e.kind = EventKind::FrameDropped;
    e.dropReason = reason;
    e.length = length;
    notify(e);
}

void Controller::dispatch(ReceivedFrame frame)
{
    ++link.goodFrames;
    ++perCommand[frame.command];
    CommandFamily* family = routes[frame.command];
    if (!frame.payload.empty()) {
        ++perSubCommand[subKey(frame.command, frame.payload[0])];
        auto it = subRoutes.find(subKey(frame.command, frame.payload[0]));
        if (it != subRoutes.end())
            family = it->second;
    }
    recent.push_back(frame);
    if (recent.size() > kRememberedFrames)
        recent.pop_front();

    Context context(*this);
    if (family)
        family->handle(frame, context);

    ControllerEvent received;
    received.kind = EventKind::FrameReceived;
    received.command = frame.command;
    received.length = frame.payload.size();
    received.payload = std::move(frame.payload);
    received.output = context.output;
    notify(received);
    for (const ControllerEvent& e : context.events)
        notify(e);
}

void Controller::queueReply(uint8_t command, std::span<const uint8_t> payload,
                            std::vector<ControllerEvent>& events)
{
    std::vector<OutputChunk> chunks;
    const ReplyFate fate = faults.apply(link::buildFrame(command, payload), clock.nowMs(), chunks);
    switch (fate) {
    case ReplyFate::Dropped: ++link.repliesDropped; break;
    case ReplyFate::Corrupted: ++link.repliesCorrupted; ++link.repliesSent; break;
    case ReplyFate::Sent: ++link.repliesSent; break;
    }
    for (OutputChunk& c : chunks)
        pending.push_back(std::move(c));
    ControllerEvent e;
    e.kind = EventKind::ReplySent;
    e.command = command;
    e.payload.assign(payload.begin(), payload.end());
    e.length = payload.size();
    e.fate = fate;
    events.push_back(std::move(e));
}

void Controller::restart(std::vector<ControllerEvent>& events)
{
    ++restartCount;
    for (CommandFamily* f : families)
        f->reset();
    ControllerEvent e;
    e.kind = EventKind::Restart;
    e.count = restartCount;
    events.push_back(std::move(e));
}

void Controller::notify(const ControllerEvent& e)
{
    if (listener)
        listener->onEvent(e);
}

std::vector<std::vector<uint8_t>> Controller::takeOutputChunks()
{
    std::vector<std::vector<uint8_t>> due;
    const uint32_t now = clock.nowMs();
    // Chunks leave in order: a later chunk never overtakes an earlier one still waiting.
    while (!pending.empty() && static_cast<int32_t>(now - pending.front().dueMs) >= 0) {
        due.push_back(std::move(pending.front().bytes));
        pending.pop_front();
    }
    return due;
}

std::vector<uint8_t> Controller::takeOutput()
{
    std::vector<uint8_t> out;
    for (const auto& chunk : takeOutputChunks())
        out.insert(out.end(), chunk.begin(), chunk.end());
    return out;
}

std::optional<uint32_t> Controller::msUntilNextOutput()
{
    if (pending.empty())
        return std::nullopt;
    const int32_t wait = static_cast<int32_t>(pending.front().dueMs - clock.nowMs());
    return wait > 0 ? static_cast<uint32_t>(wait) : 0u;
}

} // namespace rz::sim
