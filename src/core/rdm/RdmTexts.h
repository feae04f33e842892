#pragma once
// The texts the RDM driver writes, exactly as the RDM page shows them.
#include <string_view>

namespace rz::rdm::text {

inline constexpr std::u16string_view kRdmSupported = u"灯控设备支持RDM";
inline constexpr std::u16string_view kLineEnd = u"\r\n";

// Device information summary
inline constexpr std::u16string_view kSoftwareVersion = u"软件版本：";
inline constexpr std::u16string_view kChannelCount = u"通道数：";
inline constexpr std::u16string_view kDmxAddress = u"Dmx地址：";

// Discovery-response tool
inline constexpr std::u16string_view kAddressFormatError = u"地址格式错误";
inline constexpr std::u16string_view kDigitError = u"err";

// Test command
inline constexpr std::u16string_view kSentPrefix = u"->>>> ";
inline constexpr std::u16string_view kReceivedPrefix = u"<<<<- ";
// Not in the original log: a class or PID that is not four hexadecimal digits, or data that
// is not whole hexadecimal bytes (at most 231), is refused instead of sent garbled.
inline constexpr std::u16string_view kCommandFormatError = u"->指令格式错误";
inline constexpr std::u16string_view kDataFormatError = u"->数据格式错误";

// Not in the original log: a refused request is a failure, and says why.
inline constexpr std::u16string_view kNackPid = u"->NACK PID:";
inline constexpr std::u16string_view kNackReason = u" 原因:";
inline constexpr std::u16string_view kResponseTypePrefix = u"->应答类型:";

// Not in the original log: discovery replies the search does not take (detailed log).
inline constexpr std::u16string_view kRejectedOutsideRange = u"->忽略范围外的ID:";
inline constexpr std::u16string_view kRejectedUnconfirmed = u"->未确认的ID(冲突):";
inline constexpr std::u16string_view kRejectedMutedAnswer = u"->已Mute的设备仍应答:";
inline constexpr std::u16string_view kFoundTableFull = u"->ID表已满(1000)";

// The RDM page
inline constexpr std::u16string_view kSearch = u"搜索";
inline constexpr std::u16string_view kStop = u"停止";
inline constexpr std::u16string_view kFixtureSearch = u"灯具搜索";
inline constexpr std::u16string_view kManufacturer = u"厂家:";
inline constexpr std::u16string_view kProduct = u"产品:";
inline constexpr std::u16string_view kReadFailed = u"读取失败";
inline constexpr std::u16string_view kMode = u"模式";
inline constexpr std::u16string_view kAddressInputError = u"地址输入错误！";
inline constexpr std::u16string_view kChannelSettingError = u"通道设置错误！";
inline constexpr std::u16string_view kDecodeError = u"解析错误！";
inline constexpr std::u16string_view kFormatError = u"格式错误！";

} // namespace rz::rdm::text
