#pragma once
// One material: a stepped sequence of levels for up to 20 virtual fixtures of up to 32
// channels, with its timing, fade, jump, brightness, dimming and motion settings.
//
// Numbering is 1-based at every interface (fixture 1..20, channel 1..32, library fixture
// 1..100, step 1..600); index 0 of the arrays is never used, except step 0, the scratch step
// an empty material is edited in.
//
// Steps are stored on demand: the step table grows to the highest step ever written. A step
// beyond the storage has levels 0 and the time and flags that the whole-table operations
// (clearing, time defaults) last gave every step. Like a fixed table, steps beyond
// `stepCount` keep whatever they held, and levels outside the used fixtures and channels stay
// as they are.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace rz::materials {

inline constexpr int kMaxSteps = 600;
inline constexpr int kMaxVirtualFixtures = 20;
inline constexpr int kMaxChannels = 32;
inline constexpr int kLibraryFixtures = 100;
inline constexpr int kTempChannelEntries = 20;
inline constexpr int kMotionParameters = 20;

struct MaterialStep {
    int16_t stepTime = 0;
    uint8_t fadeToNext = 0;
    uint8_t stepMark = 0;

    uint8_t level(int fixture, int channel) const { return levels[fixture - 1][channel - 1]; }
    void setLevel(int fixture, int channel, uint8_t v) { levels[fixture - 1][channel - 1] = v; }
    // Levels of fixtures 1..fixtureCount x channels 1..channelCount become 0.
    void clearLevels(int fixtureCount, int channelCount);
    bool isBlank() const; // every field and every level is 0

    std::array<std::array<uint8_t, kMaxChannels>, kMaxVirtualFixtures> levels{};
};

// The material's start-mode and dimming-role values.
enum DimmingRole : uint8_t { kDimNone = 0, kDimmedByMaster = 1, kChannelOneIsMaster = 2 };
enum MotionType : uint8_t { kMotionNone = 0, kMotionCircle = 1 };

struct Material {
    std::u16string name;
    int16_t stepCount = 0;
    int16_t uniformTime = 0;
    uint8_t perStepTimeMode = 0;
    uint8_t allStepsFade = 0;
    uint8_t jumpInterval = 0;
    uint8_t jumpAtIntervalEndOnly = 0;
    uint8_t brightnessReduction = 0;
    uint8_t startMode = 0;
    uint8_t dimmingRole = 0;
    uint8_t hwAcceleration = 0;
    uint8_t restartOnCall = 0;
    uint8_t fixtureCount = 0;
    uint8_t channelCount = 0;
    std::array<uint8_t, kMaxChannels + 1> channelCodes{};                     // [1..32]
    std::array<std::array<uint8_t, kLibraryFixtures + 1>, kMaxVirtualFixtures + 1> patch{}; // [f][r]
    std::array<uint8_t, kTempChannelEntries + 1> tempChannels{};              // [1..20]
    uint8_t motionType = 0;
    std::array<int32_t, kMotionParameters + 1> motionGlobal{};                // [1..20]
    std::array<std::array<int32_t, kMotionParameters + 1>, kMaxVirtualFixtures + 1>
        motionPerFixture{};                                                   // [f][k]

    // Step i (0..600) for reading; a step beyond the storage reads as described above.
    const MaterialStep& step(int i) const;
    // Step i (0..600) for writing; storage grows to reach it.
    MaterialStep& editStep(int i);
    // Sets one level without allocating a step just to store a zero there.
    void setLevel(int i, int fixture, int channel, uint8_t v);
    // Steps 0..storedSteps()-1 have storage.
    int storedSteps() const { return static_cast<int>(steps.size()); }
    // Gives back the storage of trailing steps equal to an unstored one (no observable change).
    void releaseUnusedSteps();
    // Every step 1..600: time and flags 0, levels of the used fixtures and channels 0.
    // Step 0 is left as it is.
    void resetStepsFromOne();
    // Every step 0..600 whose time is 0 gets `time`.
    void defaultStepTimes(int16_t time);
    // Back to a material that never had a step written.
    void dropAllSteps();

    bool isValid() const { return stepCount > 0 && fixtureCount != 0 && channelCount != 0; }
    bool stepIsAllZero(int i) const;
    int countMarkedSteps() const;
    int16_t stepDurationOf(int i) const { return perStepTimeMode != 0 ? step(i).stepTime : uniformTime; }

private:
    void keepStepZero(); // before a change that must not reach step 0

    std::vector<MaterialStep> steps; // steps 0..size-1
    MaterialStep unstored;           // what every step beyond the storage holds (levels 0)
};

// The operations below keep the exact rules of the step table, including which values are
// left stale.
void clearMaterial(Material& m);
void clearSteps(Material& m);
void applyTimeDefaults(Material& m);
void clearStepLevels(Material& m, int i);   // all 20 x 32 levels of step i
void copyPreviousStep(Material& m, int i);  // levels of step i = levels of step i - 1
void shiftStepsDown(Material& m, int from, int to); // j = to down to from: record j = record j-1
void shiftStepsUp(Material& m, int from);           // j = from .. stepCount-1: record j = record j+1

} // namespace rz::materials
