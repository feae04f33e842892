#include "core/app/Caption.h"

namespace rz {

std::u16string mainWindowCaption(std::u16string_view text, const CaptionPersonalization& look)
{
    std::u16string caption;
    if (!look.on) {
        caption.append(modelName).append(u" ").append(releaseName);
    } else {
        caption = look.versionText;
        if (look.useOriginalVersion > 0)
            caption.append(u" ").append(releaseName);
    }
    caption.append(u"    [ ").append(text).append(u" ]");
    return caption;
}

} // namespace rz
