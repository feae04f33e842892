#pragma once
// The temporary channels of a material: a panel of channel-definition buttons, 40 to a page,
// that put a code into the list or take it out, and the list itself, which the page shows
// beside its other controls (a click on the list opens or closes the panel).
#include "core/fixtures/ChannelDefinitions.h"
#include "core/materials/Material.h"

#include <QFrame>

#include <vector>

class QGridLayout;
class QListWidget;
class QPushButton;

namespace rz::ui {

class TempChannelPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kButtonsPerPage = 40;
    TempChannelPanel(const fixtures::ChannelDefinitions& names, QWidget* parent = nullptr);

    // The list shown outside the panel; owned by `listParent`.
    QListWidget* makeList(QWidget* listParent);
    void showMaterial(const materials::Material& m);
    // Captions from the channel names; codes without a name have no button.
    void applyChannelNames();

signals:
    void codeClicked(int code);

private:
    void showPage(int page);

    const fixtures::ChannelDefinitions& names;
    std::vector<std::pair<int, QPushButton*>> buttons; // code, button
    QGridLayout* grid = nullptr;
    QListWidget* list = nullptr;
    int page = 0;
};

} // namespace rz::ui
