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
    d.ZoomEnd = static_cast<std::int16_t>(codeOf(s.ZoomEnd));
    d.ScreenPosition = static_cast<std::int16_t>(codeOf(s.ScreenPosition));
    d.AspectRatio = s.AspectRatio;
    d.AspectHeight = s.AspectHeight;
    d.AspectWidth = s.AspectWidth;
    d.UnitCode = static_cast<std::int16_t>(codeOf(s.UnitCode));
    d.ScreenWidth = s.ScreenWidth;
    d.ScreenHeight = s.ScreenHeight;
    d.ScreenDiagonal = s.ScreenDiagonal;
    d.ProjectionDistance = s.ProjectionDistance;
    d.OffsetA = s.OffsetA;
    d.OffsetB = s.OffsetB;
    d.OffsetCount = {static_cast<std::int16_t>(s.OffsetCount[0]),
                     static_cast<std::int16_t>(s.OffsetCount[1])};
    d.MaxDistance = s.MaxDistance;
    return d;
}

RestoreRequest restoreRequestFrom(const CalcFileData &d) {
    RestoreRequest request;
    request.model = d.model;
    request.ZoomEnd = choiceOf<Zoom>(d.ZoomEnd).value_or(Zoom::Wide);
    request.ScreenPosition = choiceOf<Position>(d.ScreenPosition).value_or(Position::Bottom);
    request.AspectHeight = d.AspectHeight;
    request.AspectWidth = d.AspectWidth;
    request.UnitCode = choiceOf<Unit>(d.UnitCode).value_or(Unit::Inches);
    request.ScreenDiagonal = d.ScreenDiagonal;
    return request;
}

QString captionWithFile(const QString &appTitle, const QString &path) {
    return appTitle + QStringLiteral(" [") + stripExtension(fileNameOfPath(path)) +
           QStringLiteral("]");
}

} // namespace vistrel
