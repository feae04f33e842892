#pragma once
// The test page: exercises the controller without wall panel, VOD or music. Scenes, room
// functions, fans and air conditioner, VOD and internal keys, raw bytes to the wall-panel and
// VOD ports with what comes back, and the automatic bass. The messages are TestPanel's.
#include "core/app/Notifier.h"
#include "core/testtools/TestPanel.h"
#include "ui/shell/Page.h"

#include <vector>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace rz::ui {

class TestPage : public Page, private testtools::TestPanelView {
    Q_OBJECT
public:
    static constexpr int kSceneButtons = 50;

    explicit TestPage(PageContext& context, QWidget* parent = nullptr);
    ~TestPage() override;

    testtools::TestPanel& panel() { return testPanel; }
    // Fun_场景选择_控件显示.
    void showSceneNames();

protected:
    void opened() override;

private:
    QGroupBox* buildSceneFrame();
    QGroupBox* buildFunctionFrame();
    QGroupBox* buildRoomFrame();
    QGroupBox* buildKeyFrame();
    QGroupBox* buildPortFrame(const QString& title, const QString& sendBox, const QString& sendButton,
                              const QString& clearButton, const QString& receivedBox, uint8_t port);
    QPushButton* addButton(const QString& caption, const QString& name, QWidget* parent);

    // TestPanelView
    void showInformation(const std::u16string& text) override;
    void showWallPanelReceived(const std::u16string& text) override;
    void showVodReceived(const std::u16string& text) override;

    testtools::TestPanel testPanel;
    std::vector<QPushButton*> sceneButtons;
    QPushButton* autoBassButton = nullptr;
    QPlainTextEdit* information = nullptr;
    QPlainTextEdit* wallPanelReceived = nullptr;
    QPlainTextEdit* vodReceived = nullptr;
    Subscription showReplaced;
};

} // namespace rz::ui
