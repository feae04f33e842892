#pragma once
// The title bar: the function buttons that open the pages, the connection controls, the
// frame counters, the save button, the relay debugging, the development-mode button and the
// logo. It is the connection manager's view.
//
// Pages that come later plug in through setPageOpener; a button whose page is missing does
// nothing when clicked.
#include "core/app/ColourScheme.h"
#include "core/app/SettingsCatalogue.h"
#include "core/link/ConnectionManager.h"
#include "core/link/ConnectionView.h"

#include <QWidget>

#include <array>
#include <functional>
#include <map>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace rz::ui {

class RelayDebugPanel;

inline constexpr std::u16string_view kSaveCaption = u"保存";
inline constexpr std::u16string_view kSavingCaption = u"保存中";
inline constexpr int kSaveColourRestoreMs = 200;
// Windows colour values of the save button.
inline constexpr uint32_t kSaveNormalColour = 12021262;
inline constexpr uint32_t kSaveSavingColour = 6295743;

// What a function button or the counters open.
enum class TitlePage { lightControl, airConditioner, fixtureLibrary, scene, effect, material, test, download, rdm, upgrade };

// scenePageMode: what the scene button opens.
enum class ScenePageMode : uint8_t { scene = 0, effect = 1, material = 2 };

class TitleBar : public QWidget, public link::ConnectionView {
    Q_OBJECT
public:
    // Function button numbers (Command功能选择(k)).
    static constexpr int kLightButton = 1, kFixtureButton = 3, kSceneButton = 4, kTestButton = 5,
                         kDownloadButton = 6, kRdmButton = 7;

    TitleBar(const SettingsPaths& paths, const ColourScheme& scheme, QWidget* parent = nullptr);

    // The connection manager must exist before load() and outlive the title bar's use of it.
    void setConnectionManager(link::ConnectionManager* manager) { connection = manager; }
    // Opening (start-up): colours, logo, personal look, connection controls, debug relays.
    void load();

    // Extension points.
    void setPageOpener(TitlePage page, std::function<void()> open);
    std::function<void()> closeRdm;           // Fun_Rdm_Close, before every button but "RDM"
    std::function<void()> saveShow;           // saveShow with an empty path
    std::function<void()> backupShow;         // backupShow("点击保存")
    std::function<void()> openDevelopmentWindow;
    // Before a connect from the button (the command line's controller choice).
    std::function<void()> beforeConnect;
    // The relay debugging changed (requestLiveFrames).
    std::function<void()> onRelaysChanged;

    // Fun_标题场景功能.
    void setScenePageMode(ScenePageMode mode);
    ScenePageMode scenePageMode() const { return sceneMode; }
    // The light-control button opens the air-conditioner page instead (set by those pages).
    void setLightButtonOpensAirConditioner(bool airConditioner) { lightOpensAirConditioner = airConditioner; }
    void clickFunctionButton(int k);

    void saveNow();
    const std::array<uint8_t, 31>& debugRelays() const;
    // The hidden commands of the upgrade page.
    void toggleLogo();
    // The logo and backup switches; the upgrade page's logo command changes them too.
    TitleBarSettings& titleBarSettings() { return settings; }
    void setLogoShown(bool shown);
    void showDevelopmentModeButton();

    // ConnectionView
    void showKinds(const std::vector<std::u16string>& kinds, const std::u16string& text) override;
    void showButton(const link::ConnectionButtonLook& look) override;
    void setButtonEnabled(bool enabled) override;
    void showCounters(const std::u16string& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void colourFunctionButtons();
    void applyPersonalLook();
    void restoreSaveButton();
    QPushButton* functionButton(int k) const;

    SettingsPaths paths;
    const ColourScheme& scheme;
    link::ConnectionManager* connection = nullptr;
    TitleBarSettings settings;
    std::map<TitlePage, std::function<void()>> openers;
    std::map<int, QPushButton*> functionButtons;
    int selectedButton = 0;
    ScenePageMode sceneMode = ScenePageMode::scene;
    bool lightOpensAirConditioner = false;
    uint32_t saveNormal = kSaveNormalColour;
    uint32_t saveSaving = kSaveSavingColour;
    uint32_t connectText = 0xFFFFFF;

    QComboBox* kindList = nullptr;
    QComboBox* portList = nullptr;
    QPushButton* connectButton = nullptr;
    QLabel* kindLabel = nullptr;
    QLabel* counters = nullptr;
    QPushButton* saveButton = nullptr;
    QTimer* saveTimer = nullptr;
    RelayDebugPanel* relays = nullptr;
    QPushButton* developmentButton = nullptr;
    QLabel* logo = nullptr;
};

} // namespace rz::ui
