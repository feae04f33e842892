#pragma once
// Everything a page may use, built once by the program (or a test rig) and handed to every
// page. A page takes what it needs from here and nothing from anywhere else.
#include "core/app/ColourScheme.h"
#include "core/app/Navigation.h"
#include "core/app/Seams.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/WaitTracker.h"

#include <filesystem>
#include <functional>

namespace rz {
namespace link {
class Link;
class ConnectionManager;
} // namespace link
namespace liveout {
class DebugRelays;
class LiveSender;
} // namespace liveout
namespace materials {
class MaterialEngine;
} // namespace materials
namespace effects {
class EffectPreview;
} // namespace effects
namespace show {
struct Show;
class ShowFile;
} // namespace show
namespace transfer {
class FileTransfer;
class FirmwareUpgrade;
} // namespace transfer
} // namespace rz

namespace rz::ui {

class PageHost;
class WheelRouter;

struct PageContext {
    // The show and its file.
    show::Show& show;
    show::ShowFile& showFile;
    // The controller link and what runs on it.
    link::Link& link;
    link::ConnectionManager& connection;
    liveout::LiveSender& live;
    liveout::DebugRelays& debugRelays;
    // What the material and effect pages play on the lights (one engine: the effect preview
    // plays materials through it too).
    materials::MaterialEngine& materialEngine;
    effects::EffectPreview& effectPreview;
    transfer::FileTransfer& transfer;
    transfer::FirmwareUpgrade& firmware;
    // The shell.
    Navigation& navigation;
    PageHost& host;
    WheelRouter* wheel; // none in tests that do not route the wheel
    const ColourScheme& colours;
    TitleBarSettings& titleBarSettings;
    // Files, dialogs, time.
    SettingsPaths paths;
    std::filesystem::path dataRoot;
    Prompt& prompt;
    FileChooser& chooser;
    Clock& clock;
    Yield& yield;
    WaitTracker& waits;
    std::function<bool()> programClosing; // none: never closing
};

} // namespace rz::ui
