#include "core/show/ShowFile.h"

#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/files/ByteImage.h"
#include "core/fixtures/FixtureGroups.h"
#include "core/show/ShowPaths.h"
#include "core/show/ShowTexts.h"

#include <system_error>

namespace rz::show {

ShowFile::ShowFile(Show& show, std::filesystem::path dataRoot, ShowFileSeams seams)
    : show(show),
      root(std::move(dataRoot)),
      working(showFilePath(root)),
      blank(templateFilePath(root)),
      io(seams),
      materialFiles(show.materials, show.library, show.editing, root, seams.chooser, seams.prompt)
{
}

void ShowFile::ensureTemplate()
{
    if (fileLengthOrZero(blank) == 0)
        saveShow(blank);
}

bool ShowFile::saveShow(const std::filesystem::path& path)
{
    const std::filesystem::path& target = path.empty() ? working : path;
    const SaveStamp stamp{saveDateTimeText(io.localTime.localNow()), root.u16string()};
    const auto image = encodeShow(show, materialFiles, stamp);
    if (!image) {
        io.prompt.message(std::u16string(kMsgShowTooLarge));
        return false;
    }
    if (!files::saveImage(target, *image)) {
        io.prompt.message(std::u16string(kMsgShowSaveFailed));
        return false;
    }
    return true;
}

LoadResult ShowFile::loadShow(const std::filesystem::path& path)
{
    const std::filesystem::path& source = path.empty() ? working : path;
    const std::uintmax_t length = fileLengthOrZero(source);
    if (length == 0) {
        materialFiles.deleteAllTemps();
        io.prompt.message(std::u16string(kMsgShowFileMissing));
        show.scenes.setDefaultAssociations();
        // The show is saved under this name: the caption names it from the first start on.
        if (io.view)
            io.view->showLoaded(source);
        show.library.libraryChanged.notify();
        show.replaced.notify();
        return LoadResult::missing;
    }

    std::optional<std::vector<uint8_t>> image;
    if (length <= kShowImageCapacity)
        image = files::loadImage(source, kShowImageCapacity);
    ShowContent content{show.lightControl, show.scenes, show.library, show.effects,
                        show.motionThreshold};
    if (!image ||
        decodeShow(*image, content, materialFiles, show.editing, io.prompt) != ShowReadResult::ok) {
        io.prompt.message(std::u16string(kMsgShowFormatError));
        return LoadResult::formatError;
    }

    show.lightControl = std::move(content.lightControl);
    show.scenes = std::move(content.scenes);
    show.library = std::move(content.library);
    show.effects = std::move(content.effects);
    show.motionThreshold = content.motionThreshold;
    // The store held the previous current effect; no effect is current now.
    show.materials.clearAll();
    show.editing.currentStep = 0;
    if (io.view)
        io.view->showLoaded(source);
    show.library.libraryChanged.notify();
    show.replaced.notify();
    return LoadResult::loaded;
}

void ShowFile::backupShow(std::u16string_view tag)
{
    fixtures::saveGroups(show.fixtureGroups, fixtures::groupFilePath(root));
    if (readInt32Key(settingsPaths(root).system, keys::kNoAutoBackup, 0) == 1)
        return;
    std::error_code ec;
    std::filesystem::create_directories(backupFolderPath(root), ec);
    delayMs(io.clock, io.yield, 10);
    if (const auto bytes = files::loadImage(working))
        files::saveImage(backupFilePath(root, io.localTime.localNow(), tag), *bytes);
}

} // namespace rz::show
