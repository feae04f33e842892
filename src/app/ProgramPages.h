#pragma once
// The show and the pages built on it: created during start-up in their fixed order, opened from
// the title bar, saved and backed up at exit.
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "ui/shell/QtFileChooser.h"
#include "ui/shell/QtPrompt.h"

#include <memory>

namespace rz::ui {
class DownloadPage;
class FixturePage;
class UpgradePage;
} // namespace rz::ui

namespace rz::app {

class Program;

class ProgramPages : private show::ShowFileView, private show::LocalTimeSource {
public:
    // Plugs every piece into the program's start-up steps, title bar and exit actions.
    explicit ProgramPages(Program& program);
    ~ProgramPages() override;
    ProgramPages(const ProgramPages&) = delete;
    ProgramPages& operator=(const ProgramPages&) = delete;

    show::Show& currentShow() { return show; }
    show::ShowFile& showFile() { return *file; }

private:
    void createShowFile();
    void prepareFixturePage();
    void prepareTransferPages();
    void openTitleBarPages();
    void wireExit();

    void showLoaded(const std::filesystem::path& path) override;
    void setTitleBarAvailable(bool available) override;
    LocalDateTime localNow() override;

    Program& program;
    show::Show show;
    std::unique_ptr<ui::QtPrompt> prompt;
    std::unique_ptr<ui::QtFileChooser> chooser;
    std::unique_ptr<show::ShowFile> file;
    std::unique_ptr<transfer::FileTransfer> transfers;
    std::unique_ptr<transfer::FirmwareUpgrade> firmware;
    // Owned by the window's page area once prepared.
    ui::FixturePage* fixturePage = nullptr;
    ui::DownloadPage* downloadPage = nullptr;
    ui::UpgradePage* upgradePage = nullptr;
};

} // namespace rz::app
