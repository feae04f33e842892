// Outside bytes read as the files that hold materials: a single-material file ("K_1SC", also
// the material clipboard), an effect's temporary file (a material set) and the materials
// section of a show file. A read either succeeds or changes nothing; whatever reads writes
// back byte-stable after one normalising write.
#include "FuzzSupport.h"
#include "core/materials/MaterialFiles.h"
#include "core/materials/MaterialRecord.h"

#include <cstdint>
#include <span>
#include <vector>

namespace {

using namespace rz;
using namespace rz::materials;
using rz::fuzz::check;

std::vector<uint8_t> recordImage(const Material& m, const fixtures::FixtureLibrary& library)
{
    files::ByteWriter w(std::size_t{1} << 24);
    writeMaterial(m, library, w);
    return w.take();
}

std::vector<uint8_t> setImage(const MaterialStore& store, const fixtures::FixtureLibrary& library)
{
    files::ByteWriter w(std::size_t{1} << 24);
    writeMaterialSet(store, library, w);
    return w.take();
}

fixtures::FixtureLibrary smallLibrary()
{
    fixtures::FixtureLibrary lib;
    lib.fixture(1).startAddress = 1;
    lib.fixture(1).channelCount = 4;
    lib.fixture(2).startAddress = 100;
    lib.fixture(2).channelCount = 2;
    return lib;
}

void singleMaterial(std::span<const uint8_t> image, const fixtures::FixtureLibrary& library)
{
    files::ByteReader r(image);
    r.setCursor(4);
    Material m;
    if (!readMaterial(m, r))
        return;
    const std::vector<uint8_t> first = recordImage(m, library);
    Material again;
    files::ByteReader back(first);
    check(readMaterial(again, back));
    check(recordImage(again, library) == first);
}

void materialSet(std::span<const uint8_t> image, const fixtures::FixtureLibrary& library)
{
    MaterialStore store;
    store.at(3, 4).name = u"kept";
    store.at(3, 4).stepCount = 1;
    store.at(3, 4).fixtureCount = 1;
    store.at(3, 4).channelCount = 1;
    const std::vector<uint8_t> before = setImage(store, library);
    files::ByteReader r(image);
    r.setCursor(4);
    MaterialStore read;
    read.at(3, 4) = store.at(3, 4);
    if (!readMaterialSet(read, r)) {
        check(setImage(read, library) == before);
        return;
    }
    // A set replaces only the materials it holds, so read into a cleared store for the check.
    MaterialStore fresh;
    files::ByteReader again(image);
    again.setCursor(4);
    check(readMaterialSet(fresh, again));
    const std::vector<uint8_t> first = setImage(fresh, library);
    if (first.empty())
        return;
    MaterialStore second;
    files::ByteReader back(first);
    check(readMaterialSet(second, back));
    check(setImage(second, library) == first);
}

void materialsSection(std::span<const uint8_t> image, const fixtures::FixtureLibrary& library)
{
    static const fuzz::ScratchFolder folder("fuzz-materials");
    MaterialStore store;
    EditingContext context;
    fuzz::NoFileChooser chooser;
    fuzz::SilentPrompt prompt;
    MaterialFiles files(store, library, context, folder.path, chooser, prompt);
    // A temporary file that a refused section must leave alone.
    const std::vector<uint8_t> parked{0xF1, 0x04, 0x16, 0xA1, 0x00};
    files::saveImage(files.tempFile(7), parked);
    files::ByteReader r(image);
    if (!files.readMaterialsSection(kShowMaterialsSection, r)) {
        check(files::loadImage(files.tempFile(7)) == parked);
        return;
    }
    check(context.currentEffect == 0);
    // Every temporary file the section made must load (or read as empty) without harm.
    for (int e = 1; e <= kEffectCount; ++e)
        files.loadEffectFromTemp(e);
    files.deleteAllTemps();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> image(data, size);
    static const fixtures::FixtureLibrary library = smallLibrary();
    const std::string id = files::ByteReader(image).getId();
    if (id == kMaterialFileId)
        singleMaterial(image, library);
    else if (id == kEffectTempFileId)
        materialSet(image, library);
    else
        materialsSection(image, library);
    return 0;
}
