#pragma once
// The show file's messages, backup tags and file kind.
#include <string_view>

namespace rz::show {

inline constexpr std::u16string_view kMsgShowFileMissing =
    u"SHOW 文件不存在！！！ 将建立新的灯光文件！！！";
inline constexpr std::u16string_view kMsgShowFormatError = u"文件格式错误！！！";
inline constexpr std::u16string_view kMsgOperationDone = u"操作成功！";
inline constexpr std::u16string_view kAskNewShow = u"要删除当前灯光文件并建立空白灯光文件吗？";
// A show past the file's size bound is refused rather than cut.
inline constexpr std::u16string_view kMsgShowTooLarge = u"灯光文件太大，无法保存！";
inline constexpr std::u16string_view kMsgShowSaveFailed = u"灯光文件保存失败！";

inline constexpr std::u16string_view kShowExtension = u"K_F";

// Backup tags of the callers.
inline constexpr std::u16string_view kBackupTagSaveButton = u"点击保存";
inline constexpr std::u16string_view kBackupTagBeforeOpen = u"打开文件前";
inline constexpr std::u16string_view kBackupTagSaveAs = u"另存文件";
inline constexpr std::u16string_view kBackupTagBeforeNew = u"建立空白文件前";
// Program close uses rz::closeProgramBackupTag ("关闭程序").

} // namespace rz::show
