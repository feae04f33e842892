#include "core/testtools/DevelopmentCommands.h"

#include "core/link/Frame.h"

namespace rz::testtools {

namespace {

// Hexadecimal text as ASCII with the spaces removed; nothing for any other character.
std::optional<std::string> asciiHex(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c == u' ')
            continue;
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!hex)
            return std::nullopt;
        out += static_cast<char>(c);
    }
    return out;
}

std::optional<std::vector<uint8_t>> bytesOf(std::u16string_view text)
{
    const auto hex = asciiHex(text);
    if (!hex)
        return std::nullopt;
    return link::bytesFromHexText(*hex);
}

} // namespace

const std::vector<std::u16string>& developmentCommandList()
{
    static const std::vector<std::u16string> list{
        u"FAF5AA55 0008 C4 4C -重启",
        u"FAF5AA55 0009 CE11 68 -模拟鼓点",
        u"FAF5AA55 0009 CE14 6B -密集鼓点",
        u"FAF5AA55 0009 CE15 6C -喝彩",
        u"FAF5AA55 0009 CE16 6D -倒彩",
        u"FAF5AA55 0009 CE17 6E -烟机",
        u"FAF5AA55 0009 CE18 6F -摇麦",
        u"FAF5AA55 000ACE12 01 6B -场景1",
        u"FAF5AA55 000ACE12 02 6C -场景2",
        u"FAF5AA55 000ACE12 03 6D -场景3",
        u"FAF5AA55 000ACE12 04 6E -场景4",
        u"FAF5AA55 000ACE12 05 6F -场景5",
        u"FAF5AA55 000ACE12 0670 -场景6",
        u"FAF5AA55 000ACE12 0771 -场景7",
        u"FAF5AA55 000ACE12 0872 -场景8",
        u"FAF5AA55 000ACE12 0973 -场景9",
        u"FAF5AA55 000ACE12 0A74 -场景10",
        u"FAF5AA55 000ACE12 1F89 -全开31",
        u"FAF5AA55 000ACE12 208A -全关32",
        u"FAF5AA55 000A CE5001 A9 -开启 Nec接收",
        u"FAF5AA55 000A CE5000 A8 -关闭 Nec接收",
        u"FAF5AA55 000D CE51 11223344 56 -Nec发送",
        u"FAF5AA55 0009 CE10 67 -测试模式",
    };
    return list;
}

std::u16string entryFrameText(std::u16string_view entry)
{
    return std::u16string(entry.substr(0, entry.find(u'-')));
}

bool sendFrameText(link::Link& link, std::u16string_view text)
{
    const auto hex = asciiHex(text);
    if (!hex || hex->empty() || !link::bytesFromHexText(*hex))
        return false;
    link.sendText(*hex);
    return true;
}

std::optional<std::string> sendBuiltFrame(link::Link& link, std::u16string_view commandText,
                                          std::u16string_view dataText)
{
    auto command = bytesOf(commandText);
    // A single digit is a command of its own ("C" is 0C).
    if (const auto hex = asciiHex(commandText); hex && hex->size() == 1)
        command = bytesOf(u"0" + std::u16string(commandText));
    const auto payload = bytesOf(dataText);
    if (!command || command->size() != 1 || !payload || payload->size() > link::kMaxSendPayload)
        return std::nullopt;
    link.send(command->front(), *payload);
    return link.lastSentFrameText();
}

} // namespace rz::testtools
