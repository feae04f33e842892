#pragma once
// The working show file: saving the show into it, loading a show file into the show, the empty
// template and the backup copies. The light-control page's file commands are in
// ShowCommands.h.
#include "core/app/Conversions.h"
#include "core/app/Seams.h"
#include "core/materials/MaterialFiles.h"
#include "core/show/Show.h"
#include "core/show/ShowImage.h"

#include <filesystem>
#include <string_view>

namespace rz::show {

// The local date and time for time stamps; the core reads no clock of its own.
class LocalTimeSource {
public:
    virtual ~LocalTimeSource() = default;
    virtual LocalDateTime localNow() = 0;
};

// What the window around the show file does when asked; every call does nothing by default.
class ShowFileView {
public:
    virtual ~ShowFileView() = default;
    virtual void showLoaded(const std::filesystem::path& /*path*/) {} // into the caption
    virtual void setTitleBarAvailable(bool /*available*/) {}
    virtual void refreshLightControlPage() {}
};

struct ShowFileSeams {
    Prompt& prompt;
    FileChooser& chooser;
    Clock& clock;
    Yield& yield;
    LocalTimeSource& localTime;
    ShowFileView* view = nullptr; // none: the window calls do nothing
};

enum class LoadResult {
    loaded,
    missing,     // nothing to read: "SHOW 文件不存在！！！ ..." and the default associations
    formatError, // "文件格式错误！！！"; the show is unchanged
};

class ShowFile {
public:
    // The show and seams must outlive this object.
    ShowFile(Show& show, std::filesystem::path dataRoot, ShowFileSeams seams);

    const std::filesystem::path& showPath() const { return working; }
    const std::filesystem::path& templatePath() const { return blank; }
    const std::filesystem::path& dataRoot() const { return root; }

    // Writes the current show as the template when the template is missing or empty. Called at
    // start-up before the first load, so the template holds every module's defaults.
    void ensureTemplate();

    // The whole show into `path` (the working show file when empty), replacing the file
    // atomically. A show that does not fit in the file's bound is refused with
    // "灯光文件太大，无法保存！" and nothing is written; a failed write says "灯光文件保存失败！"
    // and leaves the old file. False in both cases.
    bool saveShow(const std::filesystem::path& path = {});

    // Reads a whole show file (the working one when `path` is empty). The file is read into a
    // staging copy and swapped in only when every section was readable, so a damaged file
    // never leaves half a show: anything but a readable show file says "文件格式错误！！！" and
    // changes nothing. On success the current effect becomes none and its materials are
    // dropped from memory; fixture groups and channel names are not part of the file.
    LoadResult loadShow(const std::filesystem::path& path = {});

    // Stores the fixture groups, then, unless "不自动备份" is 1, copies the working show file to
    // "灯光备份/SHOW--[yymmdd-hhmmss] <tag>.K_F". Failures of the copy are ignored.
    void backupShow(std::u16string_view tag);

    ShowFileSeams& seams() { return io; }
    Show& tables() { return show; }

private:

    Show& show;
    std::filesystem::path root;
    std::filesystem::path working;
    std::filesystem::path blank;
    ShowFileSeams io;
    materials::MaterialFiles materialFiles;
};

} // namespace rz::show
