#pragma once

#include "core/choices.h"
#include "core/pictureformat.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace vistrel {

// What the calculator window's controls show. The engine owns it so that the
// window, the command-line front end and the tests see the same thing.
struct Controls {
    std::optional<Unit> unit; // the selected option of each group; none before start-up
    std::optional<Zoom> zoom;
    std::optional<Position> position;
    std::optional<Aspect> aspect; // none while "Other" is chosen
    // The fourth aspect choice, "Other": whether it is chosen, and the format
    // its list shows (kept while another option is chosen).
    bool otherChosen = false;
    PictureFormat otherFormat{kOtherFormats[0].width, kOtherFormats[0].height};
    std::array<bool, 2> zoomEnabled{true, true}; // indexed by zoom end
    bool wideScreenEnabled = true; // 16 : 9 and "Other": the pictures wider than the 4 : 3 group

    QStringList modelItems;         // texts of the model list
    unsigned modelListVersion = 0;  // changes whenever modelItems changes
    std::vector<int> modelItemData; // catalogue index of each item
    int modelSelected = -1;

    // Indexed by Field; the design texts until the first result.
    std::array<QString, 4> fieldText{QStringLiteral("Distance"), QStringLiteral("SSize"),
                                     QStringLiteral("Width"), QStringLiteral("Height")};
    std::array<QString, 2> offsetText{QStringLiteral("Offset"), QStringLiteral("Offset")};

    bool enabled(Aspect choice) const {
        return info(choice).group == AspectGroup::FourThree || wideScreenEnabled;
    }
    const QString &text(Field field) const { return fieldText[static_cast<std::size_t>(field)]; }
};

} // namespace vistrel
