// Outside bytes as the custom channel-name file ("通道描述自定义.txt"). Built-in names never
// change, every user code keeps a name, and a renamed code that is saved reads back as saved
// while every other name stays as the file gave it.
#include "FuzzSupport.h"
#include "core/app/Conversions.h"
#include "core/fixtures/ChannelDefinitions.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace rz::fixtures;
    using rz::fuzz::check;
    static const rz::fuzz::ScratchFolder folder("fuzz-channel-names");
    const std::filesystem::path file = customChannelNameFilePath(folder.path);
    check(rz::writeFileBytesAtomically(file, std::string_view(reinterpret_cast<const char*>(data), size)));

    ChannelDefinitions names;
    names.initChannelNames(file);
    for (int code = 0; code < kChannelCodeCount; ++code) {
        if (code < kFirstUserCode)
            check(names.name(code) == ChannelDefinitions::defaultName(code));
        else
            check(!names.name(code).empty());
    }

    const int renamed = kFirstUserCode + static_cast<int>(size % (kChannelCodeCount - kFirstUserCode));
    ChannelDefinitions expected = names;
    check(expected.renameChannel(renamed, u"红 R"));
    check(expected.saveChannelName(renamed, file));
    ChannelDefinitions reread;
    reread.initChannelNames(file);
    for (int code = 0; code < kChannelCodeCount; ++code)
        check(reread.name(code) == expected.name(code));
    return 0;
}
