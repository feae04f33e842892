// Outside bytes as the tool's text files: a key=value settings file (read, then a key
// written into it) and the colour-personalization file. Reading never fails loudly; a
// written key reads back as written, leaves the other keys as they read before, and writing
// it again changes nothing.
#include "FuzzSupport.h"
#include "core/app/Caption.h"
#include "core/app/ColourScheme.h"
#include "core/app/Conversions.h"
#include "core/app/SettingsFile.h"
#include "core/app/Utf.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace rz;
using rz::fuzz::check;

void settingsFile(std::string_view bytes)
{
    static const fuzz::ScratchFolder folder("fuzz-settings");
    const std::filesystem::path path = folder.path / "SYSTEM.INI";
    check(writeFileBytesAtomically(path, bytes));

    const std::u16string key = u"WIFI_IP";
    const std::u16string other = u"WIFI_Port";
    const std::u16string otherBefore = readKey(path, other);
    (void)readKey(path, key);
    (void)readByteKey(path, other, 7);
    (void)readInt32Key(path, other, -7);

    const std::u16string value = u"串口 10.0.0.1";
    check(writeKey(path, key, value));
    check(readKey(path, key) == value);
    check(readKey(path, other) == otherBefore);
    const auto written = readFileBytes(path);
    check(written.has_value());
    check(writeKey(path, key, value));
    check(readFileBytes(path) == written);
}

void colourFile(std::string_view bytes)
{
    const ColourScheme scheme = ColourScheme::fromText(bytes);
    for (std::u16string_view key : knownColourKeys())
        (void)scheme.colour(key);
    (void)mainWindowCaption(u"RZ-760", scheme.caption());
    (void)parseColourValue(fromUtf8(bytes.substr(0, 64)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    settingsFile(bytes);
    colourFile(bytes);
    return 0;
}
