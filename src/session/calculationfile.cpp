#include "session/calculationfile.h"

#include "core/helpers.h"

namespace vistrel {

CalcFileData snapshotOf(const Calculator &calculator) {
    const CalcState &s = calculator.state();
    CalcFileData d;
    if (const ModelRecord *model = calculator.currentModel()) {
        d.model = *model;
        // A calculation file holds the 19 fields of the model line only.
        for (int field = kModelFieldCount; field < kCatalogueFieldCount; ++field)
            plannerField(d.model, field) = 0;
    }
    // What the file keeps besides the model is the calculator's own state.
    static_cast<Installation &>(d) = s;
    return d;
}

RestoreRequest restoreRequestFrom(const CalcFileData &d) {
    RestoreRequest request;
    request.model = d.model;
    request.zoomEnd = d.zoomEnd;
    request.screenPosition = d.screenPosition;
    request.aspectHeight = d.aspectHeight;
    request.aspectWidth = d.aspectWidth;
    request.unit = d.unit;
    request.screenDiagonal = d.screenDiagonal;
    return request;
}

QString captionWithFile(const QString &appTitle, const QString &path) {
    return appTitle + QStringLiteral(" [") + stripExtension(fileNameOfPath(path)) +
           QStringLiteral("]");
}

} // namespace vistrel
