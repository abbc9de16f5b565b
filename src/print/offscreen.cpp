#include "print/offscreen.h"

#include <QByteArray>
#include <QtGlobal>

namespace vistrel::print {

void drawOffScreen(OffScreen how) {
    if (how == OffScreen::UnlessChosen && qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (how != OffScreen::AtOwnSize)
        return;
    for (const char *scaling :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI"})
        qunsetenv(scaling);
}

} // namespace vistrel::print
