// Outside bytes read as a show file's scene section. A section either reads or changes
// nothing; whatever reads writes back byte-stable.
#include "FuzzSupport.h"
#include "core/scenes/SceneSection.h"
#include "core/scenes/SceneReport.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using rz::fuzz::check;

std::vector<uint8_t> sceneImage(const rz::scenes::SceneTable& table)
{
    rz::files::ByteWriter out(1u << 17);
    out.beginSectionedFile("F10410A1", 50);
    check(rz::scenes::writeSceneSection(table, out));
    return out.take();
}

// Byte values load as stored (the page shows them); relays come from mask bits.
void checkRelaysOnOrOff(const rz::scenes::SceneTable& t)
{
    using namespace rz::scenes;
    for (int i = 1; i <= kSceneCount; ++i)
        for (int r = 1; r <= kRelayCount; ++r)
            check(t.scene(i).relays[r] <= 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> file(data, size);
    const rz::files::ByteReader in(file);
    {
        using namespace rz::scenes;
        SceneTable table;
        table.scene(1).effect = 1;
        const SceneTable before = table;
        const ReadResult r = readSceneSection(table, in);
        if (r == ReadResult::malformed) {
            check(table == before);
        } else {
            checkRelaysOnOrOff(table);
            // Names longer than the field are cut by the first write; from then on it is stable.
            const std::vector<uint8_t> first = sceneImage(table);
            SceneTable again;
            check(readSceneSection(again, rz::files::ByteReader(first)) == ReadResult::ok);
            check(sceneImage(again) == first);
        }
        (void)sceneReportText(file.empty() ? 0 : file[0], file.size() > 1 ? file.subspan(1) : file);
    }
    return 0;
}
