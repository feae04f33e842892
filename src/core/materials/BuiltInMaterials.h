#pragma once
// The built-in material chooser: folders of ready-made single-material files shipped with the
// application, by kind ("标准素材", "个性素材") and category, from which the user imports one
// into the edited material.
#include "core/app/Seams.h"
#include "core/materials/MaterialFiles.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rz::materials {

inline constexpr std::u16string_view kStandardMaterials = u"标准素材";
inline constexpr std::u16string_view kPersonalMaterials = u"个性素材";
inline constexpr int kBuiltInCategories = 8;
inline constexpr int kBuiltInListSize = 40;
inline constexpr std::array<std::u16string_view, kBuiltInCategories + 1> kBuiltInCategoryNames{
    u"", u"舞曲-RGB", u"舞曲-开光", u"舞曲-动作", u"唱歌-RGB", u"唱歌-开光", u"唱歌-动作", u"色盘+图案", u"自定义",
};
inline constexpr std::u16string_view kMsgNoDescription = u"无说明";
inline constexpr std::u16string_view kBuiltInHint = u"右键点击按钮显示说明，点击说明框自动隐藏说明";

class BuiltInMaterials {
public:
    struct Entry {
        std::u16string caption;     // the file name without its last 6 characters
        std::filesystem::path file;
    };

    explicit BuiltInMaterials(const std::filesystem::path& dataRoot);

    // AppSet/<kind>/<category caption>, its files whose names end in "K_1SC" in name order, at
    // most 40. A missing folder lists nothing. The category is remembered for the run.
    void listBuiltIns(std::u16string_view kind, int category);
    int category() const { return chosenCategory; }
    const std::vector<Entry>& entries() const { return listed; }

    // The text of <caption>.txt beside listed file i (1..40), or "无说明".
    std::u16string builtInDescription(int i) const;
    // "是否导入  [caption]".
    std::u16string importQuestion(int i) const;
    // Asks, and on Yes imports listed file i into (m, s) with the import's own messages.
    bool importBuiltIn(int i, int m, int s, MaterialFiles& files, Prompt& prompt) const;

private:
    const Entry* entry(int i) const;

    std::filesystem::path root;
    std::filesystem::path folder;
    int chosenCategory = 1;
    std::vector<Entry> listed;
};

} // namespace rz::materials
