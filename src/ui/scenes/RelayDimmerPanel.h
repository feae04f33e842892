#pragma once
// Mains by DMX512, relays 1..12 with their notes, thyristor dimmers 1..4 with their notes.
#include "core/scenes/SceneEditing.h"
#include "core/scenes/SceneTable.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace rz::ui {

class RelayDimmerPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShownRelays = 12;
    static constexpr int kShownDimmers = 4;

    explicit RelayDimmerPanel(QWidget* parent = nullptr);

    // The scene's mains box, relays, dimmer levels and the frames' visibility.
    void showScene(const scenes::Scene& scene, const scenes::ScenePanels& panels);
    void showNotes(const scenes::SceneTable& table);
    void setEditing(bool editing);

signals:
    void mainsToggled(bool on);
    void relayClicked(int relay);
    void dimmerChosen(int dimmer, int level);
    void relayNoteEdited(int relay, const QString& note);
    void dimmerNoteEdited(int dimmer, const QString& note);

private:
    QCheckBox* mains = nullptr;
    QGroupBox* relayFrame = nullptr;
    QGroupBox* dimmingFrame = nullptr;
    std::array<QPushButton*, kShownRelays + 1> relays{};
    std::array<QLineEdit*, kShownRelays + 1> relayNotes{};
    std::array<QComboBox*, kShownDimmers + 1> dimmers{};
    std::array<QLineEdit*, kShownDimmers + 1> dimmerNotes{};
};

} // namespace rz::ui
