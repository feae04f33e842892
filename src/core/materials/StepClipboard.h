#pragma once
// Copying a run of steps into the step clipboard file and pasting them over steps of the
// same or another material with equal fixture and channel counts. The clipboard is a file
// so that it survives switching materials and effects; it is deleted at exit.
#include "core/app/Seams.h"
#include "core/materials/Material.h"

#include <filesystem>
#include <string_view>

namespace rz::materials {

inline constexpr std::u16string_view kMsgNoFixtures = u"灯具数量不能为0";
inline constexpr std::u16string_view kMsgNoChannels = u"通道数量不能为0";
inline constexpr std::u16string_view kMsgNoStepsToCopy = u"复制步数不能为0";
inline constexpr std::u16string_view kMsgPasteMissing = u"粘贴错误！";
inline constexpr std::u16string_view kMsgPasteInvalid = u"粘贴错误！！！";
inline constexpr std::u16string_view kMsgFixtureCountsDiffer = u"灯具数不一致！！！";
inline constexpr std::u16string_view kMsgChannelCountsDiffer = u"通道数不一致！！！";
inline constexpr std::u16string_view kMsgCopiedNoSteps = u"所复制的步为0";
inline constexpr std::u16string_view kMsgCopyPastLastStep = u"复制步数超出范围!!!";

// The copy-count box's text as a number; 0 when it is not a whole number.
int parseCopyCount(std::u16string_view text);

class StepClipboard {
public:
    // The clipboard file is AppSet/SC_COPY under the data root.
    explicit StepClipboard(const std::filesystem::path& dataRoot);

    const std::filesystem::path& path() const { return file; }

    // False with a message when the material has no fixtures or channels, or count < 1.
    static bool checkStepCopy(const Material& m, int count, Prompt& prompt);

    // Writes steps first..first+count-1 to the clipboard, replacing it. A run past step 600,
    // or more than 255 steps (the file counts them in a byte), is refused with
    // "复制步数超出范围!!!" and leaves the old clipboard in place. Steps past stepCount are
    // copied as they are.
    bool copySteps(const Material& m, int first, int count, Prompt& prompt);

    // Overwrites steps first.. with the clipboard's steps; stepCount grows to the last one
    // written. Every refusal (missing or malformed clipboard, other counts, a run past step
    // 600) shows its message and leaves the material unchanged.
    bool pasteSteps(Material& m, int first, Prompt& prompt);

    // "尾部粘贴": the clipboard's steps after the last step. Checked before anything changes,
    // so a refused paste does not leave an empty step behind.
    bool pasteAtEnd(Material& m, int16_t& currentStep, int16_t newTime, Prompt& prompt);

    void deleteStepClipboard();

private:
    struct Copied;
    bool load(const Material& m, Copied& out, Prompt& prompt) const;

    std::filesystem::path file;
};

} // namespace rz::materials
