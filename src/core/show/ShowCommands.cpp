#include "core/show/ShowCommands.h"

#include "core/files/ByteImage.h"
#include "core/files/FileDialogs.h"
#include "core/show/ShowTexts.h"

namespace rz::show {

namespace {

const std::u16string kExtension{kShowExtension};

// Saves and backs up the working file, then lets the window system settle for 200 ms.
bool saveBeforeCommand(ShowFile& file, std::u16string_view tag)
{
    if (!file.saveShow())
        return false;
    file.backupShow(tag);
    ShowFileSeams& io = file.seams();
    io.yield.yield();
    delayMs(io.clock, io.yield, 200);
    return true;
}

void setTitleBarAvailable(ShowFile& file, bool available)
{
    if (ShowFileView* view = file.seams().view)
        view->setTitleBarAvailable(available);
}

void refreshLightControlPage(ShowFile& file)
{
    if (ShowFileView* view = file.seams().view)
        view->refreshLightControlPage();
}

} // namespace

bool openShow(ShowFile& file)
{
    ShowFileSeams& io = file.seams();
    const auto chosen = files::chooseOpenFile(io.chooser, io.prompt, kExtension);
    if (!chosen)
        return false;
    setTitleBarAvailable(file, false);
    bool loaded = false;
    if (saveBeforeCommand(file, kBackupTagBeforeOpen)) {
        loaded = file.loadShow(*chosen) == LoadResult::loaded;
        refreshLightControlPage(file);
    }
    setTitleBarAvailable(file, true);
    return loaded;
}

bool saveShowAs(ShowFile& file)
{
    ShowFileSeams& io = file.seams();
    const auto chosen = files::chooseSaveFile(io.chooser, io.prompt, kExtension);
    if (!chosen || !saveBeforeCommand(file, kBackupTagSaveAs))
        return false;
    const auto bytes = files::loadImage(file.showPath());
    if (!bytes || !files::saveImage(*chosen, *bytes)) {
        io.prompt.message(std::u16string(kMsgShowSaveFailed));
        return false;
    }
    return true;
}

bool newShow(ShowFile& file)
{
    ShowFileSeams& io = file.seams();
    if (!io.prompt.ask(std::u16string(kAskNewShow)))
        return false;
    setTitleBarAvailable(file, false);
    bool loaded = false;
    if (saveBeforeCommand(file, kBackupTagBeforeNew)) {
        loaded = file.loadShow(file.templatePath()) == LoadResult::loaded;
        refreshLightControlPage(file);
        // A template that could not be read has already said why; no success on top of it.
        if (loaded)
            io.prompt.message(std::u16string(kMsgOperationDone));
    }
    setTitleBarAvailable(file, true);
    return loaded;
}

} // namespace rz::show
