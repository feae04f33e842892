#pragma once
// The 20 module buttons with the module note, and the 12 material buttons of the current
// module (each opens the material page on its slot).
#include "ui/effects/EffectLook.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

namespace rz::effects {
class EffectEditor;
}
namespace rz::materials {
class MaterialStore;
}

namespace rz::ui {

class EffectModulePanel : public QWidget {
    Q_OBJECT
public:
    explicit EffectModulePanel(QWidget* parent = nullptr);

    void refreshModules(const effects::EffectEditor& editor, const materials::MaterialStore& store);
    void refreshMaterials(const effects::EffectEditor& editor, const materials::MaterialStore& store,
                          int currentSlot);

    void setColours(const effectlook::EffectColours& c) { colours = c; }

signals:
    void moduleClicked(int module);
    void materialClicked(int slot);
    void moduleNoteEdited(const QString& note);

private:
    effectlook::EffectColours colours;
    std::array<effectlook::ColourButton*, 21> modules{};   // [1..20]
    std::array<effectlook::ColourButton*, 13> materials{}; // [1..12]
    QLineEdit* moduleNote = nullptr;
    QLabel* selection = nullptr;
};

} // namespace rz::ui
