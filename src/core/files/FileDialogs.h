#pragma once
// Choosing the file to save into or to open, through the FileChooser seam, with the
// messages the user sees when the choice is unusable.
#include "core/app/Seams.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rz::files {

inline constexpr std::u16string_view kOpenFileTitle = u"打开文件";
inline constexpr std::u16string_view kSaveFileTitle = u"保存文件";
inline constexpr std::u16string_view kMsgWrongFileName = u"文件名错误！";
inline constexpr std::u16string_view kMsgReadFailed = u"读取失败";

// The dialog's file-type line: title + " (*." + extension + ")", e.g. "保存素材 (*.K_1SC)".
std::u16string dialogFilterText(std::u16string_view title, std::u16string_view extension);
// The pattern that goes with it: "*." + extension.
std::u16string dialogFilterPattern(std::u16string_view extension);

// Save dialog. The chosen name loses trailing blanks and NULs and gets "." + extension
// appended unless it already ends in it. Nothing chosen: the message "文件名错误！" and an
// empty result.
std::optional<std::filesystem::path> chooseSaveFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& title,
                                                    const std::u16string& extension);
// Titled "保存文件".
std::optional<std::filesystem::path> chooseSaveFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& extension);

// Open dialog. The chosen name loses trailing blanks and NULs. Nothing chosen, or a file that
// is empty or cannot be read: the message "读取失败" and an empty result.
std::optional<std::filesystem::path> chooseOpenFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& title,
                                                    const std::u16string& extension);
// Titled "打开文件".
std::optional<std::filesystem::path> chooseOpenFile(FileChooser& chooser, Prompt& prompt,
                                                    const std::u16string& extension);

} // namespace rz::files
