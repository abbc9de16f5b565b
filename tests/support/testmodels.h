#pragma once

#include "calc/calculator.h"
#include "catalogue/modelrecord.h"

#include <QString>

// Catalogue entries built in code, so each test states the lens data it relies on.
inline vistrel::ModelRecord testModel(const QString &name, double wideA, double wideB, double teleA,
                                      double teleB, int wideScreenMode = 1) {
    vistrel::ModelRecord m;
    m.modelName = name;
    m.minDiagonal43Wide = 30;
    m.maxDiagonal43Wide = 300;
    m.minDiagonal43Tele = 30;
    m.maxDiagonal43Tele = 250;
    m.wideCoefA = wideA;
    m.wideCoefB = wideB;
    m.teleCoefA = teleA;
    m.teleCoefB = teleB;
    m.wideOffsetCoefA = 0.1;
    m.teleOffsetCoefA = 0.12;
    m.wideScreenMode = static_cast<std::int16_t>(wideScreenMode);
    m.minDiagonal169Wide = 30;
    m.maxDiagonal169Wide = 280;
    m.minDiagonal169Tele = 30;
    m.maxDiagonal169Tele = 230;
    return m;
}

// Range messages that show both placeholders, so tests see what was replaced.
inline vistrel::Messages testMessages() {
    vistrel::Messages m;
    m.general = QStringLiteral("No model in %1");
    m.tooLarge = {QStringLiteral("large %1 in %2"), QStringLiteral("large %1 ft (%2 in)"),
                  QStringLiteral("large %1 cm (%2 in)")};
    m.tooSmall = {QStringLiteral("small %1 in"), QStringLiteral("small %1 ft (%2 in)"),
                  QStringLiteral("small %1 cm (%2 in)")};
    return m;
}
