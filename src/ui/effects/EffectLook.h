#pragma once
// The colours that carry meaning on the effect page, and small helpers its panels share.
#include "core/app/ColourScheme.h"
#include "ui/fixtures/ControlNames.h"
#include "ui/look/ColourLook.h"

#include <QColor>
#include <QPushButton>
#include <QString>

namespace rz::ui::effectlook {

inline const QColor kFlagSet{204, 204, 0};
inline const QColor kFlagClear{128, 128, 128};
inline const QColor kBarCurrent{255, 128, 128};
inline const QColor kBarOther{128, 128, 128};
inline const QColor kBeatCurrent{255, 128, 0};
inline const QColor kBeatOther{192, 192, 192};
inline const QColor kMaterialValid{192, 192, 192};
inline const QColor kMaterialEmpty{128, 128, 128};
inline const QColor kModuleCurrentValid{204, 204, 0};
inline const QColor kModuleCurrentEmpty{128, 128, 0};
inline const QColor kModuleOtherValid{208, 208, 208};
inline const QColor kModuleOtherEmpty{128, 128, 128};
inline const QColor kAutoDrumOn{192, 192, 192};
inline const QColor kAutoDrumOff{128, 128, 128};
inline const QColor kDrumFlash{255, 0, 255};
inline const QColor kDrumNormal{128, 255, 255};
inline const QColor kWarningMagenta{255, 0, 255};
inline const QColor kWarningYellow{255, 255, 0};
inline const QColor kBadEntry{255, 128, 128};

// The state colours of the grid, bars, beats, modules and materials: the classic ones, or the
// personal scheme's effect keys when personalization is on.
struct EffectColours {
    QColor flagSet = kFlagSet, flagClear = kFlagClear;
    QColor barCurrent = kBarCurrent, barOther = kBarOther;
    QColor beatCurrent = kBeatCurrent, beatOther = kBeatOther;
    QColor materialValid = kMaterialValid, materialEmpty = kMaterialEmpty;
    QColor moduleCurrentValid = kModuleCurrentValid, moduleCurrentEmpty = kModuleCurrentEmpty;
    QColor moduleOtherValid = kModuleOtherValid, moduleOtherEmpty = kModuleOtherEmpty;

    static EffectColours of(const ColourScheme& scheme)
    {
        EffectColours c;
        if (!scheme.on())
            return c;
        auto key = [&](std::u16string_view k) { return windowsColour(scheme.colour(k)); };
        c.flagSet = key(u"效果_拍子选择");
        c.flagClear = key(u"效果_拍子非选择");
        c.beatCurrent = key(u"效果_拍子演示选择");
        c.beatOther = key(u"效果_拍子演示非选择");
        c.barCurrent = key(u"效果_小节选择");
        c.barOther = key(u"效果_小节非选择");
        c.materialValid = key(u"效果_素材有效");
        c.materialEmpty = key(u"效果_素材无效");
        c.moduleCurrentValid = key(u"效果_模块有效_选择");
        c.moduleOtherValid = key(u"效果_模块有效_非选择");
        c.moduleCurrentEmpty = key(u"效果_模块无效_选择");
        c.moduleOtherEmpty = key(u"效果_模块无效_非选择");
        return c;
    }
};

// A button that restyles only when its colour changes: the grid recolours 140 buttons on
// every module or bar change, and re-applying an unchanged style sheet costs a re-polish.
class ColourButton : public QPushButton {
public:
    ColourButton(const QString& name, const QString& caption, QWidget* parent) : QPushButton(caption, parent)
    {
        setObjectName(name);
        setAccessibleName(caption.isEmpty() ? name : caption);
    }
    void setColour(const QColor& colour)
    {
        if (colour == current)
            return;
        current = colour;
        setStyleSheet(buttonBackgroundStyle(colour));
    }
    QColor colour() const { return current; }

private:
    QColor current;
};

} // namespace rz::ui::effectlook
