// Outside bytes read as an effect section of a show file, or imported as a one-effect,
// a module or an all-effects file. A read either succeeds or changes nothing; whatever
// reads writes back byte-stable.
#include "FuzzSupport.h"
#include "core/effects/EffectFiles.h"
#include "core/effects/EffectSection.h"
#include "core/materials/MaterialRecord.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace rz;

using rz::fuzz::check;

std::vector<uint8_t> sectionImage(const effects::EffectTable& table)
{
    files::ByteWriter out(1u << 22);
    out.beginSectionedFile("F10410A1", 50);
    check(effects::writeEffectSection(table, effects::kEffectSectionSlot, out));
    return out.take();
}

// The effect files of one show, its temporary files in a folder of this process.
struct Show {
    Show()
    {
        materials::Material& m = store.at(1, 1);
        m.stepCount = 1;
        m.fixtureCount = 1;
        m.channelCount = 1;
        table.effect(1).note = u"before";
        context.currentEffect = 1;
    }
    // What a refused import must leave as it was; materials never touched are skipped cheaply.
    struct State {
        effects::EffectTable table;
        std::vector<std::vector<uint8_t>> materials;
        bool operator==(const State&) const = default;
    };
    State state() const
    {
        State s{table, {}};
        for (int n = 1; n <= materials::kMaterialsPerEffect; ++n) {
            const materials::Material& m = store.at(*materials::materialFromNumber(n));
            files::ByteWriter w(1u << 22);
            if (m.stepCount != 0 || m.fixtureCount != 0 || m.channelCount != 0 || !m.name.empty())
                materials::writeMaterial(m, library, w);
            s.materials.push_back(w.take());
        }
        return s;
    }

    std::filesystem::path root = std::filesystem::temp_directory_path() /
                                 ("rz760-fuzz-effects-" + std::to_string(::getpid()));
    effects::EffectTable table;
    materials::MaterialStore store;
    fixtures::FixtureLibrary library;
    materials::EditingContext context;
    fuzz::NoFileChooser chooser;
    fuzz::SilentPrompt prompt{true};
    materials::MaterialFiles materialFiles{store, library, context, root, chooser, prompt};
    effects::EffectFiles files{table, store, materialFiles, library, context, chooser, prompt};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> image(data, size);
    // Each input goes to the importer its identifier names; anything else is read as the
    // effect section of a show file.
    const std::string id = files::ByteReader(image).getId();
    if (id != effects::kOneEffectFileId && id != effects::kModuleFileId && id != effects::kAllEffectsFileId) {
        using namespace rz::effects;
        EffectTable table;
        table.effect(2).note = u"kept";
        const ReadResult r = readEffectSection(table, kEffectSectionSlot, files::ByteReader(image));
        if (r == ReadResult::malformed) {
            check(table.effect(2).note == u"kept");
            table.effect(2).note.clear();
            check(table == EffectTable{});
        } else {
            const std::vector<uint8_t> first = sectionImage(table);
            EffectTable again;
            check(readEffectSection(again, kEffectSectionSlot, files::ByteReader(first)) == ReadResult::ok);
            check(sectionImage(again) == first);
        }
        return 0;
    }

    Show show;
    const Show::State before = show.state();
    bool imported = false;
    if (id == effects::kOneEffectFileId) {
        imported = show.files.importEffect(1, image);
        if (imported) {
            const std::vector<uint8_t> first = *show.files.effectImage(1);
            check(show.files.importEffect(1, first));
            check(*show.files.effectImage(1) == first);
        }
    } else if (id == effects::kModuleFileId) {
        imported = show.files.importModule(1, 20, image);
        if (imported) {
            const std::vector<uint8_t> first = *show.files.moduleImage(1, 20);
            check(show.files.importModule(1, 20, first));
            check(*show.files.moduleImage(1, 20) == first);
        }
    } else {
        imported = show.files.importAllEffects(image);
    }
    if (!imported)
        check(show.state() == before);
    std::error_code ec;
    std::filesystem::remove_all(show.root, ec);
    return 0;
}
