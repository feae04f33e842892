#include "sim/EventJson.h"

#include "core/link/Frame.h"

namespace rz::sim {

namespace {

const char* dropReasonName(DropReason r)
{
    switch (r) {
    case DropReason::BadChecksum: return "checksum";
    case DropReason::BadLength: return "length";
    case DropReason::Abandoned: return "abandoned";
    }
    return "unknown";
}

const char* liveErrorName(LiveFrameError e)
{
    switch (e) {
    case LiveFrameError::None: return "none";
    case LiveFrameError::LengthMismatch: return "length";
    case LiveFrameError::BadPacking: return "packing";
    case LiveFrameError::BadLayout: return "layout";
    }
    return "unknown";
}

const char* fateName(ReplyFate f)
{
    switch (f) {
    case ReplyFate::Sent: return "sent";
    case ReplyFate::Dropped: return "dropped";
    case ReplyFate::Corrupted: return "corrupted";
    }
    return "unknown";
}

class JsonObject {
public:
    explicit JsonObject(std::string_view event) { text(std::string_view("event"), event); }
    // Keys and texts here are fixed names or hex digits: nothing needs escaping.
    void text(std::string_view key, std::string_view value)
    {
        keyPart(key);
        out += '"';
        out += value;
        out += '"';
    }
    void number(std::string_view key, uint64_t value)
    {
        keyPart(key);
        out += std::to_string(value);
    }
    void raw(std::string_view key, std::string_view json)
    {
        keyPart(key);
        out += json;
    }
    std::string finish() { return out + '}'; }

private:
    void keyPart(std::string_view key)
    {
        out += out.empty() ? '{' : ',';
        out += '"';
        out += key;
        out += "\":";
    }
    std::string out;
};

template <std::size_t N>
std::string numberList(const std::array<uint8_t, N>& values)
{
    std::string s = "[";
    for (std::size_t i = 1; i < N; ++i) {
        if (i > 1)
            s += ',';
        s += std::to_string(values[i]);
    }
    return s + ']';
}

void addOutput(JsonObject& o, const LiveOutput& out)
{
    std::string levels = "{";
    for (int a = 1; a <= kDmxAddresses; ++a) {
        if (out.levels[a] == 0)
            continue;
        if (levels.size() > 1)
            levels += ',';
        levels += '"' + std::to_string(a) + "\":" + std::to_string(out.levels[a]);
    }
    levels += '}';
    o.raw("levels", levels);
    o.raw("relays", numberList(out.relays));
    o.raw("dimmers", out.dimmerBlock ? numberList(out.dimmers) : std::string("null"));
}

} // namespace

std::string eventJson(const ControllerEvent& e, std::string_view link)
{
    auto start = [&](std::string_view name) {
        JsonObject o(name);
        if (!link.empty())
            o.text("link", link);
        return o;
    };
    switch (e.kind) {
    case EventKind::FrameReceived: {
        JsonObject o = start("frame");
        o.text("command", link::byteHex(e.command));
        o.number("length", e.length);
        if (e.output)
            addOutput(o, *e.output);
        else
            o.text("payload", link::hexText(e.payload));
        return o.finish();
    }
    case EventKind::FrameDropped: {
        JsonObject o = start("dropped");
        o.text("reason", dropReasonName(e.dropReason));
        o.number("length", e.length);
        return o.finish();
    }
    case EventKind::LiveFrameRejected: {
        JsonObject o = start("liveRejected");
        o.text("command", link::byteHex(e.command));
        o.number("length", e.length);
        o.text("reason", liveErrorName(e.liveError));
        return o.finish();
    }
    case EventKind::ReplySent: {
        JsonObject o = start("reply");
        o.text("command", link::byteHex(e.command));
        o.number("length", e.length);
        o.text("fate", fateName(e.fate));
        return o.finish();
    }
    case EventKind::Handshake: {
        JsonObject o = start("handshake");
        o.number("count", e.count);
        return o.finish();
    }
    case EventKind::Restart: {
        JsonObject o = start("restart");
        o.number("count", e.count);
        return o.finish();
    }
    case EventKind::RoomFunction: {
        JsonObject o = start("room");
        o.text("function", e.function);
        o.text("payload", link::hexText(e.payload));
        return o.finish();
    }
    case EventKind::OutputChanged: {
        JsonObject o = start("output");
        if (e.output)
            addOutput(o, *e.output);
        return o.finish();
    }
    }
    return "{}";
}

} // namespace rz::sim
