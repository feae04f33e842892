#pragma once
// The material page's 20 virtual fixture buttons: a click focuses a fixture, a right click
// links or unlinks it; "全选", "单数", "双数" and the all-channels link box beside them.
#include <QWidget>

#include <array>
#include <bitset>

class QCheckBox;
class QPushButton;

namespace rz::ui {

class VirtualFixtureStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFixtures = 20;
    explicit VirtualFixtureStrip(QWidget* parent = nullptr);

    // Buttons 1..fixtureCount shown; focus and linked fixtures coloured.
    void showFixtures(int fixtureCount, int focus, const std::bitset<kFixtures + 1>& linked);
    void setAllChannelsLinked(bool on);

signals:
    void fixtureClicked(int fixture);
    void fixtureRightClicked(int fixture);
    void allClicked();
    void oddClicked();
    void evenClicked();
    void allChannelsLinkToggled(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QPushButton*, kFixtures + 1> buttons{};
    QCheckBox* allChannels = nullptr;
};

} // namespace rz::ui
