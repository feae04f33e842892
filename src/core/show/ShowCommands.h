#pragma once
// The light-control page's file commands. Each saves and backs up the working show before it
// changes anything; when that save fails the command stops, so nothing unsaved is lost.
#include "core/show/ShowFile.h"

namespace rz::show {

// Asks for a ".K_F" file ("打开文件") and loads it into the show; the working show file stays
// the one the next save writes. False when cancelled or nothing was loaded.
bool openShow(ShowFile& file);
// Asks for a path ("保存文件") and copies the freshly saved working show file there.
bool saveShowAs(ShowFile& file);
// After "要删除当前灯光文件并建立空白灯光文件吗？" is answered Yes, loads the empty template and
// says "操作成功！".
bool newShow(ShowFile& file);

} // namespace rz::show
