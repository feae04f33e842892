#include "core/materials/MaterialEngine.h"

#include "core/materials/CircleMotion.h"

#include <algorithm>

namespace rz::materials {

namespace {

void put(liveout::DmxFrame& buffer, uint16_t address, uint8_t level)
{
    if (address < buffer.size())
        buffer[address] = level;
}

std::u16string number(int64_t v)
{
    std::string s = std::to_string(v);
    return std::u16string(s.begin(), s.end());
}

} // namespace

MaterialEngine::MaterialEngine(MaterialStore& store, const fixtures::FixtureLibrary& library,
                               EditingContext& context, liveout::LiveSender& sender)
    : store(store), library(library), context(context), sender(sender)
{
}

void MaterialEngine::install()
{
    sender.setModeWork(liveout::kModeMaterial, [this](liveout::LiveBuffers& b) { previewTick(b); });
    sender.setModeWork(liveout::kModeMaterialDemo, [this](liveout::LiveBuffers& b) { demoTick(b); });
}

const OutputMap& MaterialEngine::outputMap(int m, int s)
{
    return maps.get(materialNumber(m, s), store.at(m, s), library);
}

StepLevels MaterialEngine::playMaterialTick(int m, int s)
{
    const bool jump = sender.jumpRequest() == liveout::JumpRequest::active;
    return materials::playMaterialTick(store.at(m, s), states[materialNumber(m, s)], jump,
                                       lastStepDuration);
}

void MaterialEngine::applyLevels(int m, int s, const StepLevels& levels, bool editorMode,
                                 liveout::LiveBuffers& buffers)
{
    const Material& mat = store.at(m, s);
    const OutputMap& map = outputMap(m, s);
    const int fc = std::min<int>(mat.fixtureCount, kMaxVirtualFixtures);
    const int cc = std::min<int>(mat.channelCount, kMaxChannels);
    if (mat.dimmingRole == kChannelOneIsMaster) {
        const liveout::DmxFrame& below = editorMode ? buffers.frame : buffers.dimmableLayer;
        for (int f = 1; f <= fc; ++f) {
            const int dim = levels.at(f, 1);
            for (int c = 2; c <= cc; ++c)
                for (uint16_t a : map.addrs(f, c))
                    if (a < buffers.frame.size())
                        buffers.frame[a] = static_cast<uint8_t>(roundHalfEven(below[a] * dim / 255.0));
        }
        return;
    }
    liveout::DmxFrame& target =
        mat.dimmingRole == kDimmedByMaster && !editorMode ? buffers.dimmableLayer : buffers.frame;
    for (int f = 1; f <= fc; ++f)
        for (int c = 1; c <= cc; ++c) {
            const uint8_t level = levels.at(f, c);
            for (uint16_t a : map.addrs(f, c))
                put(target, a, level);
        }
}

void MaterialEngine::applyTempChannels(int m, int s, liveout::LiveBuffers& buffers)
{
    const Material& mat = store.at(m, s);
    std::array<bool, 256> listed{};
    bool any = false;
    for (int k = 1; k <= kTempChannelEntries; ++k)
        if (mat.tempChannels[k] != 0)
            any = listed[mat.tempChannels[k]] = true;
    if (!any)
        return;
    const int fc = std::min<int>(mat.fixtureCount, kMaxVirtualFixtures);
    for (int f = 1; f <= fc; ++f)
        for (int r = 1; r <= kLibraryFixtures; ++r) {
            if (mat.patch[f][r] != 1 || !library.fixtureIsValid(r))
                continue;
            const fixtures::Fixture& fx = library.fixture(r);
            const int n = std::min<int>(fx.channelCount, fixtures::kMaxChannels);
            for (int i = 1; i <= n; ++i)
                if (fx.channelCode[i] != 0 && listed[fx.channelCode[i]])
                    put(buffers.frame, static_cast<uint16_t>(fx.startAddress + i - 1), fx.adjustValue[i]);
        }
}

void MaterialEngine::motionPreview(int m, int s, liveout::LiveBuffers& buffers)
{
    const Material& mat = store.at(m, s);
    phase += mat.motionGlobal[kSpeedParameter];
    if (phase > 360)
        phase %= 360;
    StepLevels levels;
    const int fc = std::min<int>(mat.fixtureCount, kMaxVirtualFixtures);
    for (int f = 1; f <= fc; ++f) {
        const CirclePoint p = circlePoint(mat, f, phase);
        levels.at(f, 1) = p.channel1;
        levels.at(f, 2) = p.channel2;
    }
    const OutputMap& map = outputMap(m, s);
    const int cc = std::min<int>(mat.channelCount, kMaxChannels);
    for (int f = 1; f <= fc; ++f)
        for (int c = 1; c <= cc; ++c)
            for (uint16_t a : map.addrs(f, c))
                put(buffers.frame, a, levels.at(f, c));
}

void MaterialEngine::previewTick(liveout::LiveBuffers& buffers)
{
    buffers.clear();
    const int m = context.currentModule;
    const int s = context.currentSlot;
    const Material& mat = store.at(m, s);
    if (mat.motionType != kMotionNone) {
        motionPreview(m, s, buffers);
        applyTempChannels(m, s, buffers);
        return;
    }
    const StepLevels levels = stepLevels(mat, context.currentStep);
    if (mat.dimmingRole == kChannelOneIsMaster) {
        applyTempChannels(m, s, buffers);
        applyLevels(m, s, levels, true, buffers);
    } else {
        applyLevels(m, s, levels, true, buffers);
        applyTempChannels(m, s, buffers);
    }
}

void MaterialEngine::demoTick(liveout::LiveBuffers& buffers)
{
    buffers.clear();
    const int m = context.currentModule;
    const int s = context.currentSlot;
    const StepLevels levels = playMaterialTick(m, s);
    if (store.at(m, s).dimmingRole == kChannelOneIsMaster) {
        applyTempChannels(m, s, buffers);
        applyLevels(m, s, levels, true, buffers);
    } else {
        applyLevels(m, s, levels, true, buffers);
        applyTempChannels(m, s, buffers);
    }
}

void MaterialEngine::resetPlayback() { states.fill(PlaybackState{}); }

void MaterialEngine::startDemo()
{
    sender.setLiveOutputMode(liveout::kModeMaterialDemo);
    resetPlayback();
}

void MaterialEngine::stopDemo() { sender.setLiveOutputMode(liveout::kModeMaterial); }

std::u16string MaterialEngine::demoFrameText(const liveout::DmxFrame& frame)
{
    std::u16string text;
    text.reserve(512 * 4 + 16);
    for (int a = 1; a <= liveout::kSentAddresses; ++a) {
        const int v = frame[a];
        text += static_cast<char16_t>(u'0' + v / 100);
        text += static_cast<char16_t>(u'0' + v / 10 % 10);
        text += static_cast<char16_t>(u'0' + v % 10);
        text += u' ';
        if (a % 32 == 0 && a != liveout::kSentAddresses)
            text += u'\n';
    }
    return text;
}

std::u16string MaterialEngine::demoStepText() const
{
    const PlaybackState& st = playback(context.currentModule, context.currentSlot);
    return u"步" + number(st.playStep) + u"/" +
           number(store.at(context.currentModule, context.currentSlot).stepCount) + u"   时长" +
           number(st.playTick) + u"/" + number(lastStepDuration);
}

} // namespace rz::materials
