#pragma once
// The command codes of link frames. For CE the first payload byte is a sub-command.
#include <cstdint>

namespace rz::link::cmd {

inline constexpr uint8_t kConnect = 0xC0;   // empty; answered by C0
inline constexpr uint8_t kKeepAlive = 0xC1; // empty; while connected and idle
inline constexpr uint8_t kRestart = 0xC4;   // empty: restart; F1..F5: firmware-loader handshake
inline constexpr uint8_t kSplashTest = 0xCB;
inline constexpr uint8_t kQuery = 0xCE;     // sub-commands below
inline constexpr uint8_t kFileStart = 0xD0;
inline constexpr uint8_t kFileBlock = 0xD1;
inline constexpr uint8_t kFileVerify = 0xD2;
inline constexpr uint8_t kFileUploadInfo = 0xD3;
inline constexpr uint8_t kFileUploadData = 0xD4;
inline constexpr uint8_t kFileStatus = 0xD8;
inline constexpr uint8_t kFirmwareStart = 0xF0;
inline constexpr uint8_t kFirmwareData = 0xF1;
inline constexpr uint8_t kFirmwareVerify = 0xF2;
inline constexpr uint8_t kLiveFrame = 0x60;
inline constexpr uint8_t kRdm = 0xA0;

// CE sub-commands
namespace ce {
inline constexpr uint8_t kTestMode = 0x10;
inline constexpr uint8_t kDrumHit = 0x11;
inline constexpr uint8_t kCallScene = 0x12;
inline constexpr uint8_t kPoll = 0x13; // once a second while not connected
inline constexpr uint8_t kDenseDrumHits = 0x14;
inline constexpr uint8_t kCheer = 0x15;
inline constexpr uint8_t kBoo = 0x16;
inline constexpr uint8_t kSmokeMachine = 0x17;
inline constexpr uint8_t kMicrophoneShake = 0x18;
inline constexpr uint8_t kWallPanelReport = 0x19;
inline constexpr uint8_t kSceneAssociation = 0x20;
inline constexpr uint8_t kVersion = 0x21;
inline constexpr uint8_t kAirConditioner = 0x24;
inline constexpr uint8_t kWallPanelFileId = 0x26;
inline constexpr uint8_t kVodFileId = 0x28;
inline constexpr uint8_t kNecReception = 0x50;
inline constexpr uint8_t kNecSend = 0x51;
} // namespace ce

// RDM sub-codes (first payload byte of A0)
namespace rdm {
inline constexpr uint8_t kRequest = 0xA0;
inline constexpr uint8_t kReply = 0xA1;
inline constexpr uint8_t kControl = 0xA8;
} // namespace rdm

} // namespace rz::link::cmd
