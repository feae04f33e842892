#include "core/liveout/LiveSender.h"

#include <utility>

namespace rz::liveout {

std::optional<int> liveModeOf(PageId page)
{
    switch (page) {
    case PageId::Download:
        return kModeDownload;
    case PageId::Upgrade:
        return kModeUpgrade;
    case PageId::Scene:
        return kModeScene;
    case PageId::FixtureLibrary:
        return kModeFixtureLibrary;
    case PageId::LightControl:
        return kModeLightControl;
    case PageId::Material:
        return kModeMaterial;
    case PageId::Effect:
        return kModeEffect;
    case PageId::Test:
        return kModeTest;
    case PageId::AirConditioner:
        return kModeAirConditioner;
    case PageId::Rdm:
        return kModeRdm;
    case PageId::VersionNotes:
    case PageId::Picture:
        break;
    }
    return std::nullopt;
}

void LiveBuffers::clear()
{
    frame.fill(0);
    dimmableLayer.fill(0);
}

LiveSender::LiveSender(FrameSink send, ConnectedQuery connected, RoomOutputsSource room)
    : send(std::move(send)), connected(std::move(connected)), room(std::move(room))
{
}

bool LiveSender::streamsEveryTick(int mode)
{
    switch (mode) {
    case kModeScene:
    case kModeFixtureLibrary:
    case kModeMaterial:
    case kModeMaterialDemo:
    case kModeEffect:
        return true;
    default:
        return false;
    }
}

void LiveSender::setModeWork(int m, ModeWork w)
{
    if (m >= 0 && m <= kLastMode)
        work[static_cast<std::size_t>(m)] = std::move(w);
}

void LiveSender::setLiveOutputMode(int m)
{
    mode = m;
    clearLiveBuffers();
    pending = 2;
    if (m != kModeTest && switchTestFunctionsOff)
        switchTestFunctionsOff();
    modeChanged.notify(m);
}

void LiveSender::liveTick()
{
    if (jump == JumpRequest::requested)
        jump = JumpRequest::active;

    if (mode >= 0 && mode <= kLastMode) {
        if (const ModeWork& w = work[static_cast<std::size_t>(mode)])
            w(buffers);
    }
    if (streamsEveryTick(mode))
        pending = 1;
    if (mode != kModeMaterial && hideChaseWindow)
        hideChaseWindow();

    if (jump == JumpRequest::active)
        jump = JumpRequest::none;

    if (pending > 0 && connected && connected()) {
        --pending;
        sendLiveFrame();
    }
    ticked.notify();
}

void LiveSender::sendLiveFrame()
{
    if (!send)
        return;
    const RoomOutputs r = room ? room() : RoomOutputs{};
    const std::vector<uint8_t> payload = liveFramePayload(buildRawLiveFrame(buffers.frame, r));
    send(kLiveFrameCommand, payload);
}

} // namespace rz::liveout
