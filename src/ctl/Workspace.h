#pragma once
// A show in memory together with the material files it parks its effects' materials in,
// under a scratch folder of its own, so a command never touches the user's working show.
#include "core/app/Seams.h"
#include "core/effects/EffectFiles.h"
#include "core/materials/MaterialFiles.h"
#include "core/show/Show.h"

#include <filesystem>
#include <string>
#include <vector>

namespace rz::ctl {

// Messages of the core are collected, never shown; questions are answered No.
class CollectingPrompt : public Prompt {
public:
    void message(const std::u16string& text) override { messages.push_back(text); }
    bool ask(const std::u16string&) override { return false; }
    std::vector<std::u16string> messages;
};

// No dialogs on the command line.
class NoFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> chooseOpen(const std::u16string&, const std::u16string&) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseSave(const std::u16string&, const std::u16string&) override
    {
        return std::nullopt;
    }
};

class Workspace {
public:
    // `scratchRoot` must exist and outlive the workspace.
    explicit Workspace(const std::filesystem::path& scratchRoot);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    show::Show show;
    CollectingPrompt prompt;
    NoFileChooser chooser;
    materials::MaterialFiles materialFiles;
    effects::EffectFiles effectFiles;
};

} // namespace rz::ctl
