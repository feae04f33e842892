#pragma once
// The infrared air-conditioner page: the controller learns seven air-conditioner states from
// the room's own remote control and test-sends them. The codes stay in the controller.
#include "ui/shell/Page.h"

#include <array>
#include <cstdint>
#include <span>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

namespace rz::ui {

class AirConditionerPage : public Page {
    Q_OBJECT
public:
    static constexpr int kStates = 7;
    static constexpr uint8_t kCommand = 0xCE;
    static constexpr uint8_t kTag = 0x24;
    static constexpr uint8_t kTest = 0x01, kLearn = 0x02, kStop = 0x04;
    static constexpr uint32_t kTestPauseMs = 300;

    explicit AirConditionerPage(PageContext& context, QWidget* parent = nullptr);
    ~AirConditionerPage() override;

    void learn(int state);
    void stopLearning();
    void testSend(int state);
    // Fun_红外空调在线学习反馈.
    void receiveFrame(uint8_t command, std::span<const uint8_t> payload);
    void returnToLightControl();

private:
    std::array<QPushButton*, kStates> learnButtons{};
    std::array<QPushButton*, kStates> testButtons{};
    QGroupBox* testFrame = nullptr;
    QPlainTextEdit* log = nullptr;
};

} // namespace rz::ui
