#pragma once
// Open and save dialogs for the core: the given title, one filter "title (*.ext)", starting in
// the data root. The name the user chose comes back as typed; checking it is the caller's job.
#include "core/app/Seams.h"
#include "core/app/WaitTracker.h"

class QWidget;

namespace rz::ui {

class QtFileChooser : public FileChooser {
public:
    QtFileChooser(QWidget* parent, std::filesystem::path startFolder, WaitTracker* tracker = nullptr)
        : parent(parent), startFolder(std::move(startFolder)), tracker(tracker)
    {
    }
    std::optional<std::filesystem::path> chooseOpen(const std::u16string& title,
                                                    const std::u16string& extension) override;
    std::optional<std::filesystem::path> chooseSave(const std::u16string& title,
                                                    const std::u16string& extension) override;

private:
    std::optional<std::filesystem::path> choose(bool save, const std::u16string& title,
                                                const std::u16string& extension);
    QWidget* parent;
    std::filesystem::path startFolder;
    WaitTracker* tracker;
};

} // namespace rz::ui
