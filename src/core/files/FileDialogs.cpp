#include "core/files/FileDialogs.h"

#include <fstream>
#include <system_error>

namespace rz::files {

namespace {

using NativeName = std::filesystem::path::string_type;

// Dialogs hand back fixed-size name buffers: blanks and NULs at the end are not part of the
// name. Works on the native form so the user's name is never re-encoded.
NativeName trimmedName(const std::filesystem::path& chosen)
{
    NativeName name = chosen.native();
    while (!name.empty() && (name.back() == ' ' || name.back() == 0))
        name.pop_back();
    return name;
}

bool endsWith(const NativeName& name, const NativeName& suffix)
{
    return name.size() >= suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isReadableNonEmptyFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    const auto length = std::filesystem::file_size(path, ec);
    if (ec || length == 0)
        return false;
    std::ifstream in(path, std::ios::binary);
    return in && in.peek() != std::ifstream::traits_type::eof();
}

} // namespace

std::u16string dialogFilterText(std::u16string_view title, std::u16string_view extension)
{
    std::u16string text(title);
    text += u" (";
    text += dialogFilterPattern(extension);
    text += u")";
    return text;
}

std::u16string dialogFilterPattern(std::u16string_view extension)
{
    std::u16string pattern = u"*.";
    pattern += extension;
    return pattern;
}

std::optional<std::filesystem::path> chooseSaveFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& title,
                                                    const std::u16string& extension)
{
    const auto chosen = chooser.chooseSave(title, extension);
    NativeName name = chosen ? trimmedName(*chosen) : NativeName{};
    if (name.empty()) {
        prompt.message(std::u16string(kMsgWrongFileName));
        return std::nullopt;
    }
    const NativeName suffix = std::filesystem::path(u"." + extension).native();
    if (!endsWith(name, suffix))
        name += suffix;
    return std::filesystem::path(name);
}

std::optional<std::filesystem::path> chooseSaveFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& extension)
{
    return chooseSaveFile(chooser, prompt, std::u16string(kSaveFileTitle), extension);
}

std::optional<std::filesystem::path> chooseOpenFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& title,
                                                    const std::u16string& extension)
{
    const auto chosen = chooser.chooseOpen(title, extension);
    const NativeName name = chosen ? trimmedName(*chosen) : NativeName{};
    if (name.empty() || !isReadableNonEmptyFile(name)) {
        prompt.message(std::u16string(kMsgReadFailed));
        return std::nullopt;
    }
    return std::filesystem::path(name);
}

std::optional<std::filesystem::path> chooseOpenFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& extension)
{
    return chooseOpenFile(chooser, prompt, std::u16string(kOpenFileTitle), extension);
}

} // namespace rz::files
