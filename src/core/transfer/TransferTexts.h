#pragma once
// The log texts of file transfers, firmware upgrades and controller queries, exactly as the
// information boxes show them.
#include <string_view>

namespace rz::transfer::text {

// Marks: they do not end a line, so they accumulate on one.
inline constexpr std::u16string_view kMarkSent = u">";
inline constexpr std::u16string_view kMarkReceived = u"<";
inline constexpr std::u16string_view kMarkRetry = u"X";

inline constexpr std::u16string_view kNotConnected = u"未连接";
// Not in the original log: the user stopped the transfer (or the upgrade).
inline constexpr std::u16string_view kCancelled = u"->已取消";

// Download
inline constexpr std::u16string_view kFilePrefix = u"->文件:";
inline constexpr std::u16string_view kReadingFile = u"->读取文件";
inline constexpr std::u16string_view kFileMissing = u"->文件不存在！！！";
inline constexpr std::u16string_view kFileSizePrefix = u"->文件大小:";
inline constexpr std::u16string_view kHandshakeFailed = u"->握手失败";
inline constexpr std::u16string_view kHandshakeSucceeded = u"->握手成功";
inline constexpr std::u16string_view kVerifying = u"->校验中...";
inline constexpr std::u16string_view kVerifySucceeded = u"->校验成功";
inline constexpr std::u16string_view kDownloadSucceeded = u"->下载成功";
inline constexpr std::u16string_view kVerifyFailed = u"->校验失败";

// Upload
inline constexpr std::u16string_view kPreparingUpload = u"->准备上传";
inline constexpr std::u16string_view kReadingInfo = u"->读取信息";
inline constexpr std::u16string_view kReadFailed = u"->读取失败";
inline constexpr std::u16string_view kUploadFailed = u"->上传失败";
inline constexpr std::u16string_view kDataMissing = u"->数据不存在！！";
inline constexpr std::u16string_view kDataError = u"->数据错误";
inline constexpr std::u16string_view kUploadFinished = u"->数据上传结束";
inline constexpr std::u16string_view kUploadSucceeded = u"->上传成功";
inline constexpr std::u16string_view kUploadBlankLine = u" ";
inline constexpr std::u16string_view kUploadFilePrefix = u"文件=";
// Not in the original log: the target could not be written, so the upload is no success.
inline constexpr std::u16string_view kFileWriteFailed = u"->文件写入失败";

// Firmware
inline constexpr std::u16string_view kUpgradeTitle = u"升级机器主程序";
inline constexpr std::u16string_view kUpgradeFileMissing = u"文件不存在！！！";
inline constexpr std::u16string_view kFileFormatError = u"->文件格式错误 ";
// Not in the original log: the image length does not fit the 2-byte length of F0.
inline constexpr std::u16string_view kImageTooLarge = u"->文件太大(最大65535字节) ";
inline constexpr std::u16string_view kHandshaking = u"->握手中";
inline constexpr std::u16string_view kSendingInfo = u"->发送信息";
inline constexpr std::u16string_view kReceiveFailed = u"->接收失败";
inline constexpr std::u16string_view kReceiveSucceeded = u"->接收成功";
inline constexpr std::u16string_view kSendingData = u"->发送数据";
inline constexpr std::u16string_view kSendingVerify = u"->发送校验";

// Query reports
inline constexpr std::u16string_view kVersionPrefix = u"  OK 机器版本号= ";
inline constexpr std::u16string_view kNoInformation = u"没有";
inline constexpr std::u16string_view kReportPrefix = u"  OK ";
inline constexpr std::u16string_view kWallPanelFileId = u"墙板文件ID=A";
inline constexpr std::u16string_view kWallPanelFileMissing = u"墙板文件不存在  ";
inline constexpr std::u16string_view kVodFileId = u"VOD文件ID=B";
inline constexpr std::u16string_view kVodFileMissing = u"VOD文件不存在  ";

} // namespace rz::transfer::text
