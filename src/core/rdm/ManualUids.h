#pragma once
// The UIDs the system settings file offers for adding by hand: "手动添加01" ... "手动添加20"
// (empty ones left out) and the text the box starts with, "手动添加最后".
#include "core/app/SettingsCatalogue.h"

#include <string>
#include <vector>

namespace rz::rdm {

struct ManualUidChoices {
    std::vector<std::u16string> offered;
    std::u16string initialText;
};

ManualUidChoices readManualUidChoices(const SettingsPaths& paths);

} // namespace rz::rdm
