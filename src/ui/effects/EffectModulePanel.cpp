#include "ui/effects/EffectModulePanel.h"

#include "core/effects/EffectEditor.h"
#include "core/materials/MaterialStore.h"
#include "ui/effects/EffectLook.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace rz::ui {

using effectlook::ColourButton;

namespace {

constexpr int kModuleColumns = 10;
constexpr int kMaterialColumns = 6;

} // namespace

EffectModulePanel::EffectModulePanel(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    for (int m = 1; m <= effects::kModules; ++m) {
        auto* b = new ColourButton(arrayElementName(QStringLiteral("Command功能模块"), m), QString::number(m), this);
        b->setMinimumSize(56, 26);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        modules[m] = b;
        grid->addWidget(b, (m - 1) / kModuleColumns, 1 + (m - 1) % kModuleColumns);
        connect(b, &QPushButton::clicked, this, [this, m] { emit moduleClicked(m); });
    }
    // Named, so the module rows under the bar strip are not taken for more bars.
    grid->addWidget(new QLabel(QStringLiteral("功能模块"), this), 0, 0, 2, 1);
    auto* noteLabel = new QLabel(QStringLiteral("模块备注"), this);
    moduleNote = new QLineEdit(this);
    moduleNote->setObjectName(QStringLiteral("Text模块备注"));
    moduleNote->setAccessibleName(QStringLiteral("模块备注"));
    moduleNote->setMaxLength(effects::kMaxNoteLength);
    grid->addWidget(noteLabel, 2, 0);
    grid->addWidget(moduleNote, 2, 1, 1, 4);
    connect(moduleNote, &QLineEdit::textEdited, this, &EffectModulePanel::moduleNoteEdited);

    selection = new QLabel(QStringLiteral("▶"), this);
    selection->setObjectName(QStringLiteral("Picture_当前素材选择"));
    for (int s = 1; s <= effects::kSlots; ++s) {
        auto* b = new ColourButton(arrayElementName(QStringLiteral("Command素材"), s), QString(), this);
        b->setAccessibleName(QStringLiteral("素材%1").arg(s));
        b->setMinimumSize(90, 26);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        materials[s] = b;
        grid->addWidget(b, 3 + (s - 1) / kMaterialColumns, 5 + (s - 1) % kMaterialColumns);
        connect(b, &QPushButton::clicked, this, [this, s] { emit materialClicked(s); });
    }
    grid->addWidget(selection, 2, 5);
}

void EffectModulePanel::refreshModules(const effects::EffectEditor& editor, const materials::MaterialStore& store)
{
    const effects::Effect& e = editor.effect();
    for (int m = 1; m <= effects::kModules; ++m) {
        const QString note = QString::fromStdU16String(e.modules[m].note);
        modules[m]->setText(note.isEmpty() ? QString::number(m) : QStringLiteral("%1-%2").arg(m).arg(note));
        const bool valid = store.moduleHasValid(m);
        const bool current = m == editor.currentModule();
        modules[m]->setColour(current ? (valid ? colours.moduleCurrentValid : colours.moduleCurrentEmpty)
                                      : (valid ? colours.moduleOtherValid : colours.moduleOtherEmpty));
    }
    const QString note = QString::fromStdU16String(e.modules[editor.currentModule()].note);
    if (moduleNote->text() != note)
        moduleNote->setText(note);
}

void EffectModulePanel::refreshMaterials(const effects::EffectEditor& editor, const materials::MaterialStore& store,
                                         int currentSlot)
{
    const int m = editor.currentModule();
    for (int s = 1; s <= effects::kSlots; ++s) {
        const QString name = QString::fromStdU16String(store.at(m, s).name);
        materials[s]->setText(QStringLiteral("%1 %2").arg(s).arg(name));
        materials[s]->setColour(store.isValid(m, s) ? colours.materialValid : colours.materialEmpty);
    }
    if (currentSlot >= 1 && currentSlot <= effects::kSlots)
        selection->setText(QStringLiteral("▶ 素材%1").arg(currentSlot));
}

} // namespace rz::ui
