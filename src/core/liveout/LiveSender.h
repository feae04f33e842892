#pragma once
// The live DMX sender: which page drives the output (the live-output mode), the live buffers,
// and the 100 ms tick that runs that page's per-tick work and streams the result to a
// connected controller.
//
// Pages whose output comes later plug their per-tick work into the mode's slot; a mode
// without work still sends the two frames each mode change or request asks for.
#include "core/app/Navigation.h"
#include "core/liveout/LiveFrame.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace rz::liveout {

// The page numbers that select the output.
inline constexpr int kModeNone = 0;
inline constexpr int kModeDownload = 1;
inline constexpr int kModeUpgrade = 3;
inline constexpr int kModeScene = 4;
inline constexpr int kModeFixtureLibrary = 5;
inline constexpr int kModeLightControl = 6;
inline constexpr int kModeMaterial = 7;
inline constexpr int kModeMaterialDemo = 8;
inline constexpr int kModeEffect = 9;
inline constexpr int kModeTest = 10;
inline constexpr int kModeAirConditioner = 11;
inline constexpr int kModeRdm = 12;
inline constexpr int kLastMode = kModeRdm;

// The mode a page sets when it is shown; none for pages that leave the output alone.
std::optional<int> liveModeOf(PageId page);

// The two live buffers, cleared together.
struct LiveBuffers {
    DmxFrame frame{};
    DmxFrame dimmableLayer{}; // the material engine's second layer while effects play

    void clear();
};

// jumpRequest: a one-shot trigger. requested (a simulated drum hit) becomes active for
// exactly one tick, during which the per-tick work sees it, then none again.
enum class JumpRequest : uint8_t { none = 0, requested = 1, active = 2 };

class LiveSender {
public:
    using FrameSink = std::function<void(uint8_t command, std::span<const uint8_t> payload)>;
    using ConnectedQuery = std::function<bool()>;
    using RoomOutputsSource = std::function<RoomOutputs()>;
    using ModeWork = std::function<void(LiveBuffers&)>;

    // Without a room source the relays and dimmers are sent as zeros, without dimming.
    LiveSender(FrameSink send, ConnectedQuery connected, RoomOutputsSource room = {});

    // Mode 1..12 (the opening page's number). Clears the buffers and asks for two frames.
    void setLiveOutputMode(int mode);
    // Two more frames (after connecting, after relay debugging changes, for the RDM driver).
    void requestLiveFrames() { pending = 2; }
    void clearLiveBuffers() { buffers.clear(); }
    // The 100 ms task.
    void liveTick();
    // Builds, packs and sends one frame now; nothing is awaited.
    void sendLiveFrame();

    // The per-tick work of a mode; modes outside 0..12 are ignored.
    void setModeWork(int mode, ModeWork work);
    // Every tick in a mode other than the material page's hides the chase window.
    std::function<void()> hideChaseWindow;
    // Opening any page but the test page switches the test page's test functions off.
    std::function<void()> switchTestFunctionsOff;
    // After every setLiveOutputMode (the main loop wakes the effect page's fast slots).
    Notifier<int> modeChanged;
    // After every live tick, with the frame built whether or not a controller is connected.
    Notifier<> ticked;
    // The relays and dimmers the next frame carries.
    RoomOutputs roomOutputs() const { return room ? room() : RoomOutputs{}; }

    LiveBuffers& liveBuffers() { return buffers; }
    DmxFrame& dmxFrame() { return buffers.frame; }
    DmxFrame& dimmableLayer() { return buffers.dimmableLayer; }
    int liveOutputMode() const { return mode; }
    uint8_t pendingFrames() const { return pending; }

    JumpRequest jumpRequest() const { return jump; }
    void requestJump() { jump = JumpRequest::requested; }
    // The test page's automatic drum-hit tick counter.
    int32_t& autoDrumCounter() { return drumCounter; }

    // Modes that stream one frame on every tick.
    static bool streamsEveryTick(int mode);

private:
    FrameSink send;
    ConnectedQuery connected;
    RoomOutputsSource room;
    std::array<ModeWork, kLastMode + 1> work{};
    LiveBuffers buffers;
    int mode = kModeNone;
    uint8_t pending = 0;
    JumpRequest jump = JumpRequest::none;
    int32_t drumCounter = 0;
};

} // namespace rz::liveout
