#pragma once
// The chase tool ("跑马"): a small window beside the material page that writes a running
// light into the edited material. It only collects the typed inputs and shows the listing;
// the generator is in core.
#include "core/materials/ChaseGenerator.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;

namespace rz::ui {

class ChaseToolWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChaseToolWindow(QWidget* parent = nullptr);

    // Fun_窗体载入: both position lists become 1..fixtureCount, the type back to "00-无".
    void prepare(int fixtureCount);
    materials::ChaseInputs inputs() const;
    void showInfo(const std::u16string& text);

signals:
    // "生成数据" was clicked.
    void generateClicked();

private:
    QComboBox* typeBox = nullptr;
    QComboBox* litCountBox = nullptr;
    QComboBox* startBox = nullptr;
    QComboBox* onBox = nullptr;
    QComboBox* offBox = nullptr;
    QCheckBox* reverseCheck = nullptr;
    QPlainTextEdit* info = nullptr;
};

} // namespace rz::ui
