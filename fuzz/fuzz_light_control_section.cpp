// Outside bytes read as a show file's light-control section (1) and motion section (13). A
// light-control section either reads or changes nothing, and whatever reads writes back
// byte-stable; the motion threshold read is the stored one or the default, and writes back
// as read.
#include "FuzzSupport.h"
#include "core/fixtures/MotionSection.h"
#include "core/lightcontrol/LightControlSection.h"

#include <cstdint>
#include <span>
#include <vector>

namespace {

using rz::fuzz::check;

std::vector<uint8_t> lightControlImage(const rz::lightcontrol::LightControlSettings& s)
{
    rz::files::ByteWriter out(4096);
    out.beginSectionedFile("F10410A1", 50);
    rz::lightcontrol::writeLightControlSection(s, out);
    return out.take();
}

void lightControl(const rz::files::ByteReader& in)
{
    using namespace rz::lightcontrol;
    LightControlSettings settings;
    settings.dimmingSteps = 3;
    const LightControlSettings before = settings;
    const ReadResult r = readLightControlSection(settings, in);
    if (r == ReadResult::malformed) {
        check(settings == before);
        return;
    }
    const std::vector<uint8_t> first = lightControlImage(settings);
    LightControlSettings again;
    check(readLightControlSection(again, rz::files::ByteReader(first)) == ReadResult::ok);
    check(again == settings);
    check(lightControlImage(again) == first);
}

void motion(const rz::files::ByteReader& in)
{
    using namespace rz::fixtures;
    static const ChannelDefinitions names;
    static const FixtureLibrary library = [] {
        FixtureLibrary lib;
        lib.fixture(1).startAddress = 510; // its channels run past the universe
        lib.fixture(1).channelCount = 8;
        for (int c = 1; c <= 8; ++c)
            lib.fixture(1).channelCode[c] = static_cast<uint8_t>(c);
        return lib;
    }();
    const uint8_t threshold = readMotionSection(in);
    rz::files::ByteWriter out(1u << 16);
    out.beginSectionedFile("F10410A1", 50);
    writeMotionSection(out, threshold, library, names);
    const std::vector<uint8_t> image = out.take();
    check(readMotionSection(rz::files::ByteReader(image)) == threshold);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const rz::files::ByteReader in(std::span<const uint8_t>(data, size));
    lightControl(in);
    motion(in);
    return 0;
}
