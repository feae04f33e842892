#include "core/show/ShowPaths.h"

#include <string>

namespace rz::show {

namespace {

std::u16string twoDigits(int v)
{
    v = ((v % 100) + 100) % 100;
    std::u16string s;
    s += static_cast<char16_t>(u'0' + (v / 10) % 10);
    s += static_cast<char16_t>(u'0' + v % 10);
    return s;
}

std::u16string digits(int v, int width)
{
    v = v < 0 ? 0 : v;
    std::u16string s;
    for (int i = 0; i < width; ++i, v /= 10)
        s.insert(s.begin(), static_cast<char16_t>(u'0' + v % 10));
    return s;
}

} // namespace

std::filesystem::path showFilePath(const std::filesystem::path& dataRoot)
{
    return dataRoot / u"SHOW.K_F";
}

std::filesystem::path templateFilePath(const std::filesystem::path& dataRoot)
{
    return dataRoot / u"AppSet" / u"Sys_config" / u"SC_TEMP" / u"NoneK_F.bin";
}

std::filesystem::path backupFolderPath(const std::filesystem::path& dataRoot)
{
    return dataRoot / u"灯光备份";
}

std::filesystem::path backupFilePath(const std::filesystem::path& dataRoot, const LocalDateTime& time,
                                     std::u16string_view tag)
{
    std::u16string name = u"SHOW--";
    name += timeStampText(time);
    name += u' ';
    name += tag;
    name += u".K_F";
    return backupFolderPath(dataRoot) / name;
}

std::u16string saveDateTimeText(const LocalDateTime& t)
{
    return digits(t.year, 4) + u"/" + twoDigits(t.month) + u"/" + twoDigits(t.day) + u" " +
           twoDigits(t.hour) + u":" + twoDigits(t.minute) + u":" + twoDigits(t.second);
}

} // namespace rz::show
