#pragma once
// The built-in material chooser: eight category buttons and up to 40 ready-made materials of
// the chosen kind; a click imports one, a right click shows its description.
#include "core/materials/BuiltInMaterials.h"

#include <QFrame>

#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace rz::ui {

class BuiltInChooserPanel : public QFrame {
    Q_OBJECT
public:
    explicit BuiltInChooserPanel(QWidget* parent = nullptr);

    QString kind() const { return shownKind; }
    // Lists the chosen category of `kind` and shows the entries.
    void showList(const QString& kind, const materials::BuiltInMaterials& builtIns);
    void showDescription(const QString& text);

signals:
    void categoryClicked(int category);
    void entryClicked(int i);
    void entryRightClicked(int i);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* kindLabel = nullptr;
    std::array<QPushButton*, materials::kBuiltInCategories + 1> categoryButtons{};
    std::array<QPushButton*, materials::kBuiltInListSize + 1> entryButtons{};
    QPlainTextEdit* description = nullptr;
    QString shownKind;
};

} // namespace rz::ui
