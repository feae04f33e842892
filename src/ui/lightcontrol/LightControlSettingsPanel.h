#pragma once
// The room-wide settings of the light-control page, one control per stored field. Every
// control writes its field on the user's change only; refresh() redraws all of them.
#include <QComboBox>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace rz::show {
struct Show;
}

namespace rz::ui {

// Combo开机场景: its scene entries are rebuilt from the current names on every drop-down.
class PowerOnSceneList : public QComboBox {
    Q_OBJECT
public:
    PowerOnSceneList(show::Show& show, QWidget* parent);
    // "无", then "n-name" for scenes 1..32.
    void rebuild();
    void showPopup() override;

private:
    show::Show& show;
};

class LightControlSettingsPanel : public QWidget {
    Q_OBJECT
public:
    explicit LightControlSettingsPanel(show::Show& show, QWidget* parent = nullptr);

    // Fun_所有控件数据刷新 without the infrared keys.
    void refresh();

private:
    QCheckBox* addCheck(const QString& name, const QString& caption, std::function<void(bool)> store);
    QComboBox* addList(const QString& name, const QString& caption, const QStringList& entries,
                       std::function<void(int)> store);
    QLineEdit* addNumberBox(const QString& name, const QString& caption, std::function<void(const QString&)> store);
    void showCheck(const QString& name, bool ticked);
    void showListEntry(const QString& name, const QString& entry);
    void showListIndex(const QString& name, int index);

    show::Show& show;
    PowerOnSceneList* powerOnScene = nullptr;
    QRadioButton* relayOptions[2]{};
};

} // namespace rz::ui
