#pragma once

#include "calc/calculator.h"
#include "catalogue/modelrecord.h"

#include <QString>

// Catalogue entries built in code, so each test states the lens data it relies on.
inline vistrel::ModelRecord testModel(const QString &name, double wideA, double wideB, double teleA,
                                      double teleB, int wideScreenMode = 1) {
    vistrel::ModelRecord m;
    m.name = name;
    m.diagonals.fourThree[vistrel::Zoom::Wide].min = 30;
    m.diagonals.fourThree[vistrel::Zoom::Wide].max = 300;
    m.diagonals.fourThree[vistrel::Zoom::Tele].min = 30;
    m.diagonals.fourThree[vistrel::Zoom::Tele].max = 250;
    m.lens[vistrel::Zoom::Wide].a = wideA;
    m.lens[vistrel::Zoom::Wide].b = wideB;
    m.lens[vistrel::Zoom::Tele].a = teleA;
    m.lens[vistrel::Zoom::Tele].b = teleB;
    m.offsetCoefs[vistrel::Zoom::Wide].a = 0.1;
    m.offsetCoefs[vistrel::Zoom::Tele].a = 0.12;
    m.wideScreenMode = static_cast<std::int16_t>(wideScreenMode);
    m.diagonals.sixteenNine[vistrel::Zoom::Wide].min = 30;
    m.diagonals.sixteenNine[vistrel::Zoom::Wide].max = 280;
    m.diagonals.sixteenNine[vistrel::Zoom::Tele].min = 30;
    m.diagonals.sixteenNine[vistrel::Zoom::Tele].max = 230;
    return m;
}

// The planner's worked example: a 16 : 9 panel (mode 1), 2000 lumens, 0.8
// of them at TELE, 1920 x 1080 pixels, 2000 : 1.
inline vistrel::ModelRecord workedExampleModel() {
    vistrel::ModelRecord m = testModel(QStringLiteral("Example"), 0.62, 1.1, 0.5, 0.9, 1);
    m.lumens = 2000;
    m.teleLumenFactor = 0.8;
    m.panelWidthPx = 1920;
    m.panelHeightPx = 1080;
    m.contrastRatio = 2000;
    return m;
}

// Range messages that show both placeholders, so tests see what was replaced.
inline vistrel::Messages testMessages() {
    vistrel::Messages m;
    m.noModels = QStringLiteral("No model in %1");
    m.tooLarge = {QStringLiteral("large %1 in %2"), QStringLiteral("large %1 ft (%2 in)"),
                  QStringLiteral("large %1 cm (%2 in)")};
    m.tooSmall = {QStringLiteral("small %1 in"), QStringLiteral("small %1 ft (%2 in)"),
                  QStringLiteral("small %1 cm (%2 in)")};
    return m;
}
