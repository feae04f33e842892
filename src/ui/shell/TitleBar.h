#pragma once
// The title bar: the function buttons that open the pages, the connection controls, the
// frame counters, the save button, the relay debugging, the development-mode button and the
// logo. It draws the navigation state and the connection manager's state (it is the
// manager's view) and passes clicks in; the state itself lives in core.
#include "core/app/ColourScheme.h"
#include "core/app/Navigation.h"
#include "core/app/SettingsCatalogue.h"
#include "core/link/ConnectionManager.h"
#include "core/link/ConnectionView.h"

#include <QWidget>

#include <functional>
#include <map>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace rz::liveout {
class DebugRelays;
}

namespace rz::ui {

class RelayDebugPanel;

inline constexpr std::u16string_view kSaveCaption = u"保存";
inline constexpr std::u16string_view kSavingCaption = u"保存中";
inline constexpr int kSaveColourRestoreMs = 200;
// Windows colour values of the save button.
inline constexpr uint32_t kSaveNormalColour = 12021262;
inline constexpr uint32_t kSaveSavingColour = 6295743;

class TitleBar : public QWidget, public link::ConnectionView {
    Q_OBJECT
public:
    // Everything must outlive the title bar.
    TitleBar(const SettingsPaths& paths, const ColourScheme& scheme, Navigation& navigation,
             liveout::DebugRelays& relays, TitleBarSettings& settings, QWidget* parent = nullptr);

    // The connection manager must exist before load() and outlive the title bar's use of it.
    void setConnectionManager(link::ConnectionManager* manager) { connection = manager; }
    // Opening (start-up): colours, logo, personal look, connection controls, debug relays.
    void load();

    std::function<void()> saveShow;   // saveShow with an empty path
    std::function<void()> backupShow; // backupShow("点击保存")
    std::function<void()> openDevelopmentWindow;
    // "监视": shows or hides the universe monitor beside the page.
    std::function<void()> toggleMonitor;
    // Before a connect from the button (the command line's controller choice).
    std::function<void()> beforeConnect;

    void clickFunctionButton(int k);
    void saveNow();
    // The hidden commands of the upgrade page.
    void setLogoShown(bool shown);
    void showDevelopmentModeButton();

    // ConnectionView
    void showKinds(const std::vector<std::u16string>& kinds, const std::u16string& text) override;
    void showButton(const link::ConnectionButtonLook& look) override;
    void setButtonEnabled(bool enabled) override;
    void showCounters(const std::u16string& text) override;
    void showHandshakeNotice(const std::u16string& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void colourFunctionButtons();
    void showScenePageMode(ScenePageMode mode);
    void applyPersonalLook();
    void restoreSaveButton();
    QPushButton* functionButton(int k) const;

    SettingsPaths paths;
    const ColourScheme& scheme;
    Navigation& navigation;
    liveout::DebugRelays& debugRelays;
    TitleBarSettings& settings;
    link::ConnectionManager* connection = nullptr;
    Subscription selectionWatch;
    Subscription sceneModeWatch;
    std::map<int, QPushButton*> functionButtons;
    uint32_t saveNormal = kSaveNormalColour;
    uint32_t saveSaving = kSaveSavingColour;
    uint32_t connectText = 0xFFFFFF;

    QComboBox* kindList = nullptr;
    QComboBox* portList = nullptr;
    QPushButton* connectButton = nullptr;
    QLabel* kindLabel = nullptr;
    QLabel* counters = nullptr;
    QLabel* notice = nullptr;
    QTimer* flashTimer = nullptr;
    int flashesLeft = 0;
    link::ConnectionButtonLook buttonLook;
    QPushButton* saveButton = nullptr;
    QTimer* saveTimer = nullptr;
    RelayDebugPanel* relays = nullptr;
    QPushButton* developmentButton = nullptr;
    QPushButton* monitorButton = nullptr;
    QLabel* logo = nullptr;
};

} // namespace rz::ui
