#include "pictures.h"

namespace vistrel::app {

const Pictures &Pictures::get() {
    static const Pictures pictures = [] {
        Pictures p;
        p.projector.load(QStringLiteral(":/pictures/projector.png"));
        p.projectorSide[0].load(QStringLiteral(":/pictures/projector_side_up.png"));
        p.projectorSide[1].load(QStringLiteral(":/pictures/projector_side_down.png"));
        p.kara.load(QStringLiteral(":/pictures/kara.png"));
        p.enter.load(QStringLiteral(":/pictures/enter.png"));
        p.logo.load(QStringLiteral(":/pictures/logo.png"));
        return p;
    }();
    return pictures;
}

} // namespace vistrel::app
