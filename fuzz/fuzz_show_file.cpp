// Outside bytes loaded as a show file. A file is either refused, leaving the show and its
// temporary material files as they were, or it loads. (Saving what loaded is left to the
// tests: a save rewrites all 50 temporary files and would slow the search a hundredfold; each
// section's own target checks that what it reads writes back stable.)
#include "FuzzSupport.h"
#include "core/show/ShowImage.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <span>
#include <vector>

namespace {

using rz::fuzz::check;
using namespace rz;

struct Loaded {
    explicit Loaded(const std::filesystem::path& root)
        : files(show.materials, show.library, show.editing, root, chooser, prompt)
    {
    }
    show::ShowReadResult load(std::span<const uint8_t> image)
    {
        const auto r = show::decodeShow(image, content, files, show.editing, prompt);
        if (r == show::ShowReadResult::ok) {
            show.lightControl = content.lightControl;
            show.scenes = content.scenes;
            show.library = content.library;
            show.effects = content.effects;
            show.motionThreshold = content.motionThreshold;
        }
        return r;
    }
    fuzz::SilentPrompt prompt;
    fuzz::NoFileChooser chooser;
    show::Show show;
    // Reused: every reader replaces or clears its part, and only what loaded is copied out.
    show::ShowContent content;
    materials::MaterialFiles files;
};

std::vector<uint8_t> tempFile(const Loaded& l, int effect)
{
    std::vector<uint8_t> out;
    const auto bytes = files::loadImage(l.files.tempFile(effect));
    return bytes ? *bytes : out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One show for the whole run: building a show per input would dominate the search.
    static const fuzz::ScratchFolder folder("fuzz-show-file");
    static const auto first = std::make_unique<Loaded>(folder.path);
    // Something that a refused file must leave in place.
    first->show.lightControl.powerOnScene = 7;
    first->show.scenes.scene(2).effect = 3;
    first->show.editing.currentEffect = 4;
    const std::vector<uint8_t> parked{0xF1, 0x04, 0x16, 0xA1, 0x00};
    if (tempFile(*first, 9) != parked)
        files::saveImage(first->files.tempFile(9), parked);

    if (first->load({data, size}) != show::ShowReadResult::ok) {
        check(first->show.lightControl.powerOnScene == 7 && first->show.scenes.scene(2).effect == 3 &&
              first->show.editing.currentEffect == 4);
        check(tempFile(*first, 9) == parked);
    } else {
        check(first->show.editing.currentEffect == 0);
    }
    return 0;
}
