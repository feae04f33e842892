#pragma once
// The effect page: edits the current effect's bars, beats and material grid while the lights
// play the chosen position (live mode 9). The page maps widget events to the effect editor
// and redraws from its notifications; the panels only show and report.
#include "core/app/Notifier.h"
#include "ui/shell/Page.h"

#include <memory>

namespace rz::effects {
class EffectEditor;
class EffectFiles;
} // namespace rz::effects
namespace rz::materials {
class MaterialFiles;
}

namespace rz::ui {

class BarSettingsPanel;
class BeatGridPanel;
class EffectBarStrip;
class EffectModulePanel;
class EffectSettingsPanel;

class EffectPage : public Page {
    Q_OBJECT
public:
    explicit EffectPage(PageContext& context, QWidget* parent = nullptr);
    ~EffectPage() override;

    // Fun_所有控件数据刷新.
    void refreshAll();
    effects::EffectEditor& editor() { return *edit; }
    void applyColourScheme(const ColourScheme& scheme) override;

protected:
    void opened() override;
    QStringList ownColouredControls() const override;

private:
    void connectGrid();
    void connectSettings();
    void openMaterial(int slot);
    void correspondenceWarning();
    void refreshMaterials();
    // File commands wait inside; a second click meanwhile must not start another.
    template <class F>
    void runFileCommand(F command);

    std::unique_ptr<materials::MaterialFiles> materialFiles;
    std::unique_ptr<effects::EffectFiles> files;
    std::unique_ptr<effects::EffectEditor> edit;
    EffectBarStrip* barStrip = nullptr;
    EffectModulePanel* modulePanel = nullptr;
    BeatGridPanel* grid = nullptr;
    BarSettingsPanel* barSettings = nullptr;
    EffectSettingsPanel* settings = nullptr;
    Subscription allChanged, beatChanged, cellsChanged, flagsChanged;
    Subscription drumIndicator, warningDue, showReplaced;
    bool fileCommandRunning = false;
};

} // namespace rz::ui
