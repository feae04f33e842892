#pragma once
// Everything a page needs, the way the program builds it, on a fake clock with the simulated
// controller behind an in-process link: one rig for every page test.
#include "core/app/Navigation.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/WaitTracker.h"
#include "core/link/ConnectionManager.h"
#include "core/link/ConnectionView.h"
#include "core/link/Link.h"
#include "core/link/TransportOpener.h"
#include "core/effects/EffectPreview.h"
#include "core/materials/MaterialEngine.h"
#include "core/liveout/DebugRelays.h"
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "core/show/ShowRoom.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageContext.h"
#include "ui/shell/PageHost.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace rz::test {

// Every wait of the core moves time by 1 ms and lets the controller's answers in.
class SimYield : public Yield {
public:
    SimYield(FakeClock& clock, link::Transport& transport) : clock(clock), transport(transport) {}
    void yield() override
    {
        clock.advance(1);
        transport.poll();
        if (onYield)
            onYield();
    }
    std::function<void()> onYield;

private:
    FakeClock& clock;
    link::Transport& transport;
};

// Opens the loopback transport as the Wi-Fi link; there are no serial ports.
class LoopbackOpener : public link::TransportOpener {
public:
    explicit LoopbackOpener(link::Transport& t) : wifi(t) {}
    std::vector<link::SerialPortChoice> listSerialPorts() override { return {}; }
    link::Transport* openSerial(const std::u16string&) override { return nullptr; }
    void closeSerial() override {}
    link::Transport* openWifi() override { return &wifi; }
    void closeWifi() override {}

private:
    link::Transport& wifi;
};

class SilentConnectionView : public link::ConnectionView {
public:
    void showKinds(const std::vector<std::u16string>&, const std::u16string&) override {}
    void showButton(const link::ConnectionButtonLook&) override {}
    void setButtonEnabled(bool) override {}
    void showCounters(const std::u16string&) override {}
};

class FixedTime : public show::LocalTimeSource {
public:
    LocalDateTime localNow() override { return {2026, 12, 10, 12, 0, 0}; }
};

struct PageRig {
    PageRig();
    ~PageRig();
    PageRig(const PageRig&) = delete;
    PageRig& operator=(const PageRig&) = delete;

    // Builds a page from the context (as the program does) and prepares it in the window.
    template <class P>
    std::unique_ptr<P> makePage()
    {
        auto page = std::make_unique<P>(context);
        window.pages()->preparePage(page.get());
        return page;
    }
    // The connection button's handshake with the simulated controller.
    void connect();
    // Finds a control of `root` by object name; fails the test when it is missing.
    template <class W>
    static W* find(QObject* root, const QString& name)
    {
        W* w = root->findChild<W*>(name);
        if (!w)
            qWarning("no control %s", qPrintable(name));
        return w;
    }

    TempDir dir;
    SettingsPaths paths = settingsPaths(dir.path());
    FakeClock clock{5000};
    sim::Controller controller{clock};
    sim::LoopbackTransport transport{controller, clock};
    SimYield yield{clock, transport};
    WaitTracker waits;
    link::Link link{clock, yield};
    LoopbackOpener opener{transport};
    SilentConnectionView connectionView;
    link::ConnectionManager manager{link, opener, paths, connectionView};
    transfer::FileTransfer transfer{link, [this] { return manager.connected(); }};
    transfer::FirmwareUpgrade firmware{link};
    // Live frames go to the controller; a test may count them or pretend to be connected.
    int framesSent = 0;
    bool assumeConnected = false;
    liveout::LiveSender live{[this](uint8_t c, std::span<const uint8_t> p) {
                                 ++framesSent;
                                 link.send(c, p);
                             },
                             [this] { return assumeConnected || manager.connected(); },
                             [this] { return show::roomOutputsOf(*show, &debugRelays); }};
    liveout::DebugRelays debugRelays{paths.work};
    RecordingPrompt prompt;
    ScriptedFileChooser chooser;
    FixedTime localTime;
    std::unique_ptr<show::Show> show = std::make_unique<show::Show>();
    show::ShowFile showFile{*show, dir.path(), {prompt, chooser, clock, yield, localTime}};
    materials::MaterialEngine materialEngine{show->materials, show->library, show->editing, live};
    effects::EffectPreview effectPreview{show->effects,    show->materials, show->editing,
                                         show->barPosition, materialEngine,  live};
    Navigation navigation;
    TitleBarSettings titleSettings;
    ColourScheme colours;
    bool closing = false;
    ui::MainWindow window;
    ui::PageContext context{
        .show = *show,
        .showFile = showFile,
        .link = link,
        .connection = manager,
        .live = live,
        .debugRelays = debugRelays,
        .materialEngine = materialEngine,
        .effectPreview = effectPreview,
        .transfer = transfer,
        .firmware = firmware,
        .navigation = navigation,
        .host = *window.pages(),
        .wheel = nullptr,
        .colours = colours,
        .titleBarSettings = titleSettings,
        .paths = paths,
        .dataRoot = dir.path(),
        .prompt = prompt,
        .chooser = chooser,
        .clock = clock,
        .yield = yield,
        .waits = waits,
        .programClosing = [this] { return closing; },
    };
};

} // namespace rz::test
