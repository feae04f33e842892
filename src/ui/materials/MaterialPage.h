#pragma once
// The material page: edits the material at (currentModule, currentSlot) of the current effect
// step by step while the live output shows the edited step. The page maps its widgets' events
// to the editor session and redraws from the material.
#include "core/materials/MaterialEditorSession.h"
#include "core/materials/BuiltInMaterials.h"
#include "core/materials/MaterialFiles.h"
#include "core/materials/StepClipboard.h"
#include "ui/materials/MaterialCommandBar.h"
#include "ui/shell/Page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace rz::ui {

class ChannelDefinitionPanel;
class BuiltInChooserPanel;
class ChaseToolWindow;
class MaterialDemoFrame;
class FaderBank;
class MaterialPatchPanel;
class MaterialStepBar;
class MaterialTimePanel;
class MotionPanel;
class TempChannelPanel;
class VirtualFixtureStrip;

class MaterialPage : public Page {
    Q_OBJECT
public:
    explicit MaterialPage(PageContext& context, QWidget* parent = nullptr);
    ~MaterialPage() override;

    materials::MaterialEditorSession& session() { return editor; }
    // Fun_所有控件数据刷新 and the rarely changing controls.
    void redraw();

protected:
    void opened() override;

private:
    void buildHeader(QWidget* parent, QVBoxLayout* column);
    void buildChannelCommands(QWidget* parent, QVBoxLayout* column);
    void connectWidgets();

    void showFaders();
    void showSteps();
    void showFixtures();
    void showPatchPanel();
    void showHeader();
    // After a level edit: faders, and the step list when the edit made the first step.
    void levelsEdited();

    void toggleDefinitionPanel(int channel);
    void chooseCode(int code);
    void togglePatchPanel();
    void showOnly(QWidget* panel); // one pop-up panel over the faders at a time
    void pointWheelAt(int channel);
    void wheelStep(bool up, int channel);
    void runCommand(MaterialCommandBar::Command command);
    void toggleChaseTool();
    void showMotionPanel();
    void motionPanelClosing(); // generates the motion, then hides the panel
    void generateMotion();
    void toggleBuiltIns(std::u16string_view kind);
    void generateChase();
    void startDemo();
    void stopDemo();
    void showDemo();

    materials::MaterialEditorSession editor;
    materials::MaterialFiles files;
    materials::StepClipboard stepClipboard;
    materials::BuiltInMaterials builtIns;
    BuiltInChooserPanel* builtInPanel = nullptr;
    MaterialCommandBar* commands = nullptr;
    ChaseToolWindow* chase = nullptr;
    MaterialDemoFrame* demo = nullptr;
    QTimer* demoTimer = nullptr;
    MaterialStepBar* stepBar = nullptr;
    VirtualFixtureStrip* fixtureStrip = nullptr;
    FaderBank* faders = nullptr;
    ChannelDefinitionPanel* definitionPanel = nullptr;
    MaterialPatchPanel* patchPanel = nullptr;
    MaterialTimePanel* timePanel = nullptr;
    TempChannelPanel* tempPanel = nullptr;
    MotionPanel* motionPanel = nullptr;
    QPushButton* motionButton = nullptr;
    QLabel* effectLabel = nullptr;
    QLabel* moduleLabel = nullptr;
    QLabel* noEffectLabel = nullptr;
    QLineEdit* nameBox = nullptr;
    std::array<QPushButton*, 2> rangeButtons{};
    int definingChannel = 0;
    bool openedOnce = false;
};

} // namespace rz::ui
