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

ProjectFileData projectOf(const Calculator &calculator, const PlannerSettings &planner) {
    const CalcState &s = calculator.state();
    ProjectFileData d;
    if (const ModelRecord *model = calculator.currentModel())
        d.model = *model;
    d.zoomEnd = s.zoomEnd;
    d.screenPosition = s.screenPosition;
    d.unit = s.unit;
    d.format = {s.aspectWidth, s.aspectHeight};
    d.anamorphic = s.anamorphic;
    d.screenDiagonal = s.screenDiagonal;
    d.screenWidth = s.screenWidth;
    d.screenHeight = s.screenHeight;
    d.projectionDistance = s.projectionDistance;
    d.offset1 = s.offsetA;
    d.offset2 = s.offsetB;
    d.planner = planner;
    return d;
}

RestoreRequest restoreRequestFrom(const ProjectFileData &d) {
    RestoreRequest request;
    request.model = d.model;
    request.zoomEnd = d.zoomEnd;
    request.screenPosition = d.screenPosition;
    request.aspectHeight = d.format.height;
    request.aspectWidth = d.format.width;
    request.unit = d.unit;
    request.screenDiagonal = d.screenDiagonal;
    request.anyFormat = true;
    request.anamorphic = d.anamorphic;
    return request;
}

bool calcFileHolds(const CalcState &state) {
    return aspectOf(state.aspectWidth, state.aspectHeight).has_value() &&
           state.anamorphic == kNoAnamorphic;
}

QString captionWithFile(const QString &appTitle, const QString &path) {
    return appTitle + QStringLiteral(" [") + stripExtension(fileNameOfPath(path)) +
           QStringLiteral("]");
}

} // namespace vistrel
