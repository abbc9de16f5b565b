#pragma once

#include "calc/calculator.h"
#include "catalogue/modelrecord.h"

#include <QString>

// Catalogue entries built in code, so each test states the lens data it relies on.
inline vistrel::ModelRecord testModel(const QString &name, double wideA, double wideB, double teleA,
                                      double teleB, int WideScreenMode = 1) {
    vistrel::ModelRecord m;
    m.ModelName = name;
    m.MinDiagonal43Wide = 30;
    m.MaxDiagonal43Wide = 300;
    m.MinDiagonal43Tele = 30;
    m.MaxDiagonal43Tele = 250;
    m.WideCoefA = wideA;
    m.WideCoefB = wideB;
    m.TeleCoefA = teleA;
    m.TeleCoefB = teleB;
    m.WideOffsetCoefA = 0.1;
    m.TeleOffsetCoefA = 0.12;
    m.WideScreenMode = static_cast<std::int16_t>(WideScreenMode);
    m.MinDiagonal169Wide = 30;
    m.MaxDiagonal169Wide = 280;
    m.MinDiagonal169Tele = 30;
    m.MaxDiagonal169Tele = 230;
    return m;
}

// The planner's worked example: a 16 : 9 panel (mode 1), 2000 lumens, 0.8
// of them at TELE, 1920 x 1080 pixels, 2000 : 1.
inline vistrel::ModelRecord workedExampleModel() {
    vistrel::ModelRecord m = testModel(QStringLiteral("Example"), 0.62, 1.1, 0.5, 0.9, 1);
    m.Lumens = 2000;
    m.TeleLumenFactor = 0.8;
    m.PanelWidthPx = 1920;
    m.PanelHeightPx = 1080;
    m.ContrastRatio = 2000;
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
