#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace vistrel {

// The aspect sample in the aspect frame: a bordered box whose width follows
// the ratio, with the ratio's text centred in it. Frame units (twips).
struct AspectSample {
    double boxLeft = 120;
    double boxTop = 240;
    double boxWidth = 1695;
    double boxHeight = 735;
    double labelLeft = 645;
    double labelTop = 540;
    double labelWidth = 615;
    double labelHeight = 255;
    QString caption = QStringLiteral("Label1");
};

// What the calculator window's controls show. The engine owns it so that the
// window, the command-line front end and the tests see the same thing.
struct Controls {
    int unit = -1;     // selected optUnits, -1 none
    int zoom = -1;     // selected optWIDE
    int position = -1; // selected optPosition
    int aspect = -1;   // selected optAspect
    std::array<bool, 2> zoomEnabled{true, true};
    bool aspect169Enabled = true;

    QStringList modelItems;         // texts of cboModel
    unsigned modelListVersion = 0;  // changes whenever modelItems changes
    std::vector<int> modelItemData; // catalogue index of each item
    int modelSelected = -1;

    std::array<QString, 4> fieldText{QStringLiteral("Distance"), QStringLiteral("SSize"),
                                     QStringLiteral("Width"), QStringLiteral("Height")};
    std::array<QString, 2> offsetText{QStringLiteral("Offset"), QStringLiteral("Offset")};
    int visibleEnter = -1; // the one Enter button shown, -1 none

    AspectSample aspectSample;
};

} // namespace vistrel
