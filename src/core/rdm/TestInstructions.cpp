#include "core/rdm/TestInstructions.h"

namespace rz::rdm {

namespace {

std::u16string_view field(std::u16string_view line, std::size_t from, std::size_t length)
{
    if (from >= line.size())
        return {};
    return line.substr(from, length);
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

const std::vector<std::u16string>& presetTestInstructions()
{
    // 0020 = GET_COMMAND, 0030 = SET_COMMAND (sub-device 0).
    static const std::vector<std::u16string> presets{
        u"0020 0060 //DEVICE_INFO",
        u"0020 00F0 //DMX_START_ADDRESS 读",
        u"0030 00F0 0001//DMX_START_ADDRESS 设为1",
        u"0020 1000 //IDENTIFY_DEVICE 读",
        u"0030 1000 01//IDENTIFY_DEVICE 开",
        u"0030 1000 00//IDENTIFY_DEVICE 关",
        u"0020 00C0 //SOFTWARE_VERSION_LABEL",
        u"0020 0082 //DEVICE_LABEL",
        u"0020 0080 //DEVICE_MODEL_DESCRIPTION",
        u"0020 0081 //MANUFACTURER_LABEL",
        u"0020 0050 //SUPPORTED_PARAMETERS",
        u"0020 00E0 //DMX_PERSONALITY",
        u"0020 00E1 01//DMX_PERSONALITY_DESCRIPTION 1",
        u"0020 0400 //DEVICE_HOURS",
        u"0020 0401 //LAMP_HOURS",
        u"0020 0200 00//SENSOR_DEFINITION 0",
        u"0020 0201 00//SENSOR_VALUE 0",
    };
    return presets;
}

TestInstruction splitTestInstruction(std::u16string_view line)
{
    TestInstruction out;
    out.commandClass = field(line, 0, 4);
    out.pid = field(line, 5, 4);
    std::u16string_view data = field(line, 9, std::u16string_view::npos);
    if (const auto comment = data.find(u"//"); comment != std::u16string_view::npos)
        data = data.substr(0, comment);
    out.data = trimmed(data);
    return out;
}

} // namespace rz::rdm
