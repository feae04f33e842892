#pragma once
// The material output engine: turns materials into DMX levels for the live output. Serves
// the material editor's preview (mode 7), its demo (mode 8) and the effect preview, which
// plays materials through playMaterialTick and applyLevels.
#include "core/fixtures/FixtureLibrary.h"
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialStore.h"
#include "core/materials/OutputMap.h"
#include "core/materials/Playback.h"

#include <array>
#include <string>

namespace rz::materials {

class MaterialEngine {
public:
    // All four must outlive the engine.
    MaterialEngine(MaterialStore& store, const fixtures::FixtureLibrary& library,
                   EditingContext& context, liveout::LiveSender& sender);

    // Makes previewTick and demoTick the per-tick work of modes 7 and 8.
    void install();

    // One tick of material (m, s) in time; a jump request counts while the sender has it
    // active.
    StepLevels playMaterialTick(int m, int s);
    // Writes levels through the material's output map: into the frame, or into the dimmable
    // layer for a dimmed material in an effect; a channel-1-dimming material scales what lies
    // beneath (the frame in the editor, the dimmable layer in an effect).
    void applyLevels(int m, int s, const StepLevels& levels, bool editorMode,
                     liveout::LiveBuffers& buffers);
    // The adjust presets of the patched fixtures' channels listed as temporary channels.
    void applyTempChannels(int m, int s, liveout::LiveBuffers& buffers);
    // One tick of the circle motion preview of (m, s).
    void motionPreview(int m, int s, liveout::LiveBuffers& buffers);

    void previewTick(liveout::LiveBuffers& buffers); // mode 7
    void demoTick(liveout::LiveBuffers& buffers);    // mode 8

    void resetPlayback();
    void startDemo(); // mode 8 and playback from the start
    void stopDemo();  // back to mode 7

    const PlaybackState& playback(int m, int s) const { return states[materialNumber(m, s)]; }
    int32_t stepDuration() const { return lastStepDuration; }
    int32_t motionPhase() const { return phase; }

    // The demo display after demoTick: 512 values of 3 digits and a space, 32 to a line.
    static std::u16string demoFrameText(const liveout::DmxFrame& frame);
    // "步" playStep "/" stepCount "   时长" playTick "/" stepDuration.
    std::u16string demoStepText() const;

private:
    const OutputMap& outputMap(int m, int s);

    MaterialStore& store;
    const fixtures::FixtureLibrary& library;
    EditingContext& context;
    liveout::LiveSender& sender;
    OutputMapCache maps;
    std::array<PlaybackState, kMaterialsPerEffect + 1> states{};
    int32_t lastStepDuration = 0;
    int32_t phase = 0; // the motion preview's running angle, never reset
};

} // namespace rz::materials
