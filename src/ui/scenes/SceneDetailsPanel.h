#pragma once
// The scene's name, its wall-panel and VOD associations with the report box, the
// effects-unit sound and the audio source.
#include "core/scenes/SceneTable.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace rz::ui {

class SceneDetailsPanel : public QWidget {
    Q_OBJECT
public:
    explicit SceneDetailsPanel(QWidget* parent = nullptr);

    void showScene(const scenes::Scene& scene, bool associationsAndName);
    void setEditing(bool editing);
    void showReport(const QString& text);

signals:
    void nameEdited(const QString& name);
    void wallPanelSceneChosen(int value);
    void vodSceneChosen(int value);
    void soundChosen(int value);
    void audioSourceChosen(int value);
    void defaultAssociationsClicked();
    void reportBoxEntered();
    void reportBoxLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* nameFrame = nullptr;
    QGroupBox* associationFrame = nullptr;
    QGroupBox* soundFrame = nullptr;
    QGroupBox* sourceFrame = nullptr;
    QComboBox* name = nullptr;
    QComboBox* wallPanel = nullptr;
    QComboBox* vod = nullptr;
    QComboBox* sound = nullptr;
    QComboBox* source = nullptr;
    QLineEdit* report = nullptr;
    bool drawing = false;
};

} // namespace rz::ui
