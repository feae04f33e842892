#include "core/materials/BuiltInMaterials.h"

#include "core/app/Conversions.h"

#include <algorithm>
#include <system_error>

namespace rz::materials {

namespace {

constexpr std::u16string_view kFileEnding = u"K_1SC";
constexpr std::size_t kExtensionWithDot = 6;

} // namespace

BuiltInMaterials::BuiltInMaterials(const std::filesystem::path& dataRoot) : root(dataRoot) {}

void BuiltInMaterials::listBuiltIns(std::u16string_view kind, int category)
{
    chosenCategory = std::clamp(category, 1, kBuiltInCategories);
    folder = root / "AppSet" / std::filesystem::path(std::u16string(kind)) /
             std::filesystem::path(std::u16string(kBuiltInCategoryNames[chosenCategory]));
    listed.clear();
    std::vector<std::u16string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        std::u16string name = it->path().filename().u16string();
        if (name.size() >= kExtensionWithDot && name.ends_with(kFileEnding))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    for (const std::u16string& name : names) {
        if (listed.size() == kBuiltInListSize)
            break;
        listed.push_back({name.substr(0, name.size() - kExtensionWithDot), folder / std::filesystem::path(name)});
    }
}

const BuiltInMaterials::Entry* BuiltInMaterials::entry(int i) const
{
    return i >= 1 && i <= static_cast<int>(listed.size()) ? &listed[i - 1] : nullptr;
}

std::u16string BuiltInMaterials::builtInDescription(int i) const
{
    const Entry* e = entry(i);
    if (e == nullptr)
        return std::u16string(kMsgNoDescription);
    const auto path = folder / std::filesystem::path(e->caption + u".txt");
    if (fileLengthOrZero(path) == 0)
        return std::u16string(kMsgNoDescription);
    return readTextFile(path);
}

std::u16string BuiltInMaterials::importQuestion(int i) const
{
    const Entry* e = entry(i);
    return u"是否导入  [" + (e ? e->caption : std::u16string()) + u"]";
}

bool BuiltInMaterials::importBuiltIn(int i, int m, int s, MaterialFiles& files, Prompt& prompt) const
{
    if (!prompt.ask(importQuestion(i)))
        return false;
    const Entry* e = entry(i);
    if (e == nullptr)
        return false;
    return files.importMaterial(m, s, {ImportSource::path, e->file});
}

} // namespace rz::materials
