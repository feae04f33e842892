#pragma once
// The colours that carry meaning on the effect page, and small helpers its panels share.
#include "ui/fixtures/ControlNames.h"

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
