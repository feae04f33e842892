#include "ctl/Workspace.h"

namespace rz::ctl {

Workspace::Workspace(const std::filesystem::path& scratchRoot)
    : materialFiles(show.materials, show.library, show.editing, scratchRoot, chooser, prompt),
      effectFiles(show.effects, show.materials, materialFiles, show.library, show.editing, chooser, prompt)
{
    show.editing.currentEffect = 0;
}

} // namespace rz::ctl
