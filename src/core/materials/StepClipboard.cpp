#include "core/materials/StepClipboard.h"

#include "core/files/ByteImage.h"
#include "core/materials/StepEditing.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace rz::materials {

namespace {

constexpr std::string_view kClipboardId = "F10501A1";
constexpr uint8_t kVersionByte = 0xA1;
constexpr std::size_t kHeaderSize = 208;
constexpr std::size_t kRecordPadding = 20;
constexpr int kMaxCopiedSteps = 255;

void say(Prompt& prompt, std::u16string_view text) { prompt.message(std::u16string(text)); }

} // namespace

struct StepClipboard::Copied {
    std::vector<uint8_t> image;
    int fixtures = 0;
    int channels = 0;
    int steps = 0;
};

int parseCopyCount(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 9)
        return 0;
    int v = 0;
    for (char16_t ch : text) {
        if (ch < u'0' || ch > u'9')
            return 0;
        v = v * 10 + (ch - u'0');
    }
    return v;
}

StepClipboard::StepClipboard(const std::filesystem::path& dataRoot)
    : file(dataRoot / "AppSet" / "SC_COPY")
{
}

bool StepClipboard::checkStepCopy(const Material& m, int count, Prompt& prompt)
{
    if (m.fixtureCount == 0) {
        say(prompt, kMsgNoFixtures);
        return false;
    }
    if (m.channelCount == 0) {
        say(prompt, kMsgNoChannels);
        return false;
    }
    if (count < 1) {
        say(prompt, kMsgNoStepsToCopy);
        return false;
    }
    return true;
}

bool StepClipboard::copySteps(const Material& m, int first, int count, Prompt& prompt)
{
    if (first < 1 || count < 1 || count > kMaxCopiedSteps || first + count - 1 > kMaxSteps) {
        say(prompt, kMsgCopyPastLastStep);
        return false;
    }
    const int fc = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
    const int cc = std::min<int>(m.channelCount, kMaxChannels);
    files::ByteWriter w(kHeaderSize + static_cast<std::size_t>(count) * (4 + kRecordPadding + fc * cc));
    w.putId(kClipboardId);
    w.putByte(kVersionByte);
    w.putByte(static_cast<uint32_t>(fc));
    w.putByte(static_cast<uint32_t>(cc));
    w.putByte(static_cast<uint32_t>(count));
    w.putZeros(kHeaderSize - 8);
    for (int i = first; i < first + count; ++i) {
        const MaterialStep& s = m.step(i);
        w.putWord(static_cast<uint16_t>(s.stepTime));
        w.putByte(s.fadeToNext);
        w.putByte(s.stepMark);
        w.putZeros(kRecordPadding);
        for (int f = 1; f <= fc; ++f)
            for (int c = 1; c <= cc; ++c)
                w.putByte(s.level(f, c));
    }
    return files::saveImage(file, w.bytes());
}

bool StepClipboard::load(const Material& m, Copied& out, Prompt& prompt) const
{
    auto image = files::loadImage(file);
    if (!image || image->empty()) {
        say(prompt, kMsgPasteMissing);
        return false;
    }
    files::ByteReader r(*image);
    if (r.getId() != kClipboardId || r.failed()) {
        say(prompt, kMsgPasteInvalid);
        return false;
    }
    r.getByte();
    out.fixtures = r.getByte();
    out.channels = r.getByte();
    out.steps = r.getByte();
    if (r.failed()) {
        say(prompt, kMsgPasteInvalid);
        return false;
    }
    if (m.fixtureCount != out.fixtures) {
        say(prompt, kMsgFixtureCountsDiffer);
        return false;
    }
    if (m.channelCount != out.channels) {
        say(prompt, kMsgChannelCountsDiffer);
        return false;
    }
    if (out.steps == 0) {
        say(prompt, kMsgCopiedNoSteps);
        return false;
    }
    const std::size_t record = 4 + kRecordPadding + static_cast<std::size_t>(out.fixtures) * out.channels;
    if (out.fixtures > kMaxVirtualFixtures || out.channels > kMaxChannels ||
        image->size() < kHeaderSize + record * out.steps) {
        say(prompt, kMsgPasteInvalid); // cut short or not ours
        return false;
    }
    out.image = std::move(*image);
    return true;
}

bool StepClipboard::pasteSteps(Material& m, int first, Prompt& prompt)
{
    Copied c;
    if (!load(m, c, prompt))
        return false;
    first = std::max(first, 1); // step 0 is the editor's scratch step, not a step to paste on
    if (first + c.steps - 1 > kMaxSteps) {
        say(prompt, kMsgMaxSteps);
        return false;
    }
    files::ByteReader r(c.image);
    r.setCursor(kHeaderSize);
    for (int k = 0; k < c.steps; ++k) {
        const int i = first + k;
        MaterialStep& s = m.editStep(i);
        s.stepTime = r.getSignedWord();
        s.fadeToNext = r.getByte();
        s.stepMark = r.getByte();
        r.setCursor(r.cursor() + kRecordPadding);
        for (int f = 1; f <= c.fixtures; ++f)
            for (int ch = 1; ch <= c.channels; ++ch)
                s.setLevel(f, ch, r.getByte());
        if (m.stepCount < i)
            m.stepCount = static_cast<int16_t>(i);
    }
    m.releaseUnusedSteps();
    return true;
}

bool StepClipboard::pasteAtEnd(Material& m, int16_t& currentStep, int16_t newTime, Prompt& prompt)
{
    Copied c;
    if (!load(m, c, prompt))
        return false;
    if (m.stepCount + c.steps > kMaxSteps) {
        say(prompt, kMsgMaxSteps);
        return false;
    }
    currentStep = m.stepCount;
    if (!addStep(m, currentStep, false, newTime, prompt))
        return false;
    return pasteSteps(m, currentStep, prompt);
}

void StepClipboard::deleteStepClipboard()
{
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

} // namespace rz::materials
