#pragma once
// The scene page: pick one of the 50 scenes and set what it does; open an effect from here.
#include "core/app/Notifier.h"
#include "core/scenes/ScenePageActions.h"
#include "ui/shell/Page.h"

#include <memory>

class QCheckBox;
class QPushButton;

namespace rz::materials {
class MaterialFiles;
}
namespace rz::effects {
class EffectFiles;
}

namespace rz::ui {

class NumberedButtonGrid;
class RelayDimmerPanel;
class SceneDetailsPanel;

class ScenePage : public Page, private scenes::SceneView {
    Q_OBJECT
public:
    explicit ScenePage(PageContext& context, QWidget* parent = nullptr);
    ~ScenePage() override;

    scenes::ScenePageActions& actions() { return *edit; }

protected:
    void opened() override;
    QStringList ownColouredControls() const override;

private:
    // SceneView
    void showScene() override;
    void showSceneButtons() override;
    void showEffects() override;
    void showRelaysAndDimming() override;
    void showEditingLock(bool editing) override;
    void openEffectEditor() override;

    void connectPanels();

    std::unique_ptr<materials::MaterialFiles> materialFiles;
    std::unique_ptr<effects::EffectFiles> effectFiles;
    std::unique_ptr<scenes::ScenePageActions> edit;
    NumberedButtonGrid* sceneButtons = nullptr;
    NumberedButtonGrid* effectButtons = nullptr;
    RelayDimmerPanel* relayPanel = nullptr;
    SceneDetailsPanel* details = nullptr;
    QCheckBox* editingLock = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* pasteButton = nullptr;
    Subscription showReplaced;
};

} // namespace rz::ui
