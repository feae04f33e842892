#pragma once
// The light-control page: the room-wide settings, the effects-unit infrared keys, the light
// file commands (open, save as, new) and the way to the air-conditioner and version-notes pages.
#include "core/app/Notifier.h"
#include "ui/shell/Page.h"

class QPushButton;

namespace rz::ui {

class IrKeyPanel;
class LightControlSettingsPanel;

class LightControlPage : public Page {
    Q_OBJECT
public:
    explicit LightControlPage(PageContext& context, QWidget* parent = nullptr);
    ~LightControlPage() override;

    // Fun_所有控件数据刷新.
    void refreshAll();
    IrKeyPanel* irKeys() const { return irPanel; }

protected:
    void opened() override;
    QStringList ownColouredControls() const override;

private:
    void runFileCommand(bool (*command)(show::ShowFile&));
    void enterAirConditioner();

    LightControlSettingsPanel* settingsPanel = nullptr;
    IrKeyPanel* irPanel = nullptr;
    Subscription showReplaced;
    bool fileCommandRunning = false;
};

} // namespace rz::ui
