#include "core/rdm/ManualUids.h"

#include "core/app/SettingsFile.h"

namespace rz::rdm {

ManualUidChoices readManualUidChoices(const SettingsPaths& paths)
{
    ManualUidChoices out;
    for (int i = 1; i <= keys::kManualUidCount; ++i) {
        std::u16string value = readKey(paths.system, keys::manualUid(i));
        if (!value.empty())
            out.offered.push_back(std::move(value));
    }
    out.initialText = readKey(paths.system, keys::kManualUidLast);
    return out;
}

} // namespace rz::rdm
