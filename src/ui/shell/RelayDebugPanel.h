#pragma once
// The title bar's relay debugging: 24 relay images that force a relay on from the PC. Each
// click toggles the relay between 0 and 255 and stores it as "调试继电器NN" in the work file.
#include <QFrame>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

class QLabel;

namespace rz::ui {

inline constexpr int kShownDebugRelays = 24;
inline constexpr int kStoredDebugRelays = 30;

class RelayDebugPanel : public QFrame {
    Q_OBJECT
public:
    explicit RelayDebugPanel(std::filesystem::path workFile, QWidget* parent = nullptr);

    // Fun_调试继电器载入: the keys for relays 1..30; values above 255 are ignored.
    void loadDebugRelays();
    // A click on relay image k (1..24).
    void toggleRelay(int k);
    // 0 = not forced, 255 = forced on; index 0 unused.
    const std::array<uint8_t, kStoredDebugRelays + 1>& debugRelays() const { return relays; }

    void setColours(uint32_t back, uint32_t text);

    // Fun_Visible_调试继电器 redraws and then calls this (the live sender sends fresh frames).
    std::function<void()> onRelaysChanged;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void redraw();

    std::filesystem::path workFile;
    std::array<uint8_t, kStoredDebugRelays + 1> relays{};
    std::array<QLabel*, kShownDebugRelays + 1> images{};
    QLabel* caption = nullptr;
};

} // namespace rz::ui
