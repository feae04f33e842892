#pragma once
// Where the working show file, the empty template and the backups live under the data root.
#include "core/app/Conversions.h"

#include <filesystem>
#include <string_view>

namespace rz::show {

// SHOW.K_F
std::filesystem::path showFilePath(const std::filesystem::path& dataRoot);
// AppSet/Sys_config/SC_TEMP/NoneK_F.bin
std::filesystem::path templateFilePath(const std::filesystem::path& dataRoot);
// 灯光备份/
std::filesystem::path backupFolderPath(const std::filesystem::path& dataRoot);
// 灯光备份/SHOW--[yymmdd-hhmmss] <tag>.K_F
std::filesystem::path backupFilePath(const std::filesystem::path& dataRoot, const LocalDateTime& time,
                                     std::u16string_view tag);

// The information section's date and time: "yyyy/mm/dd hh:mm:ss".
std::u16string saveDateTimeText(const LocalDateTime& time);

} // namespace rz::show
