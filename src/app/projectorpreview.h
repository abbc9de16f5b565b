#pragma once

#include "calc/projectorsheet.h"
#include "core/apperror.h"
#include "core/perzoom.h"

#include <QWidget>

class QLabel;
class QListWidget;

namespace vistrel {
class Session;
}

namespace vistrel::app {

// Beside the projector form, as the user types: where the projector stands
// for a 100-inch picture of its panel's shape at each zoom end, in the
// calculator's unit, and everything the engine warns of or refuses.
class ProjectorPreview : public QWidget {
    Q_OBJECT

public:
    ProjectorPreview(const Session &session, QWidget *parent);

    void showModel(const ProjectorSheet &sheet, const Result<SheetRecord> &checked);

private:
    const Session &session_;
    QLabel *heading_ = nullptr;
    PerZoom<QLabel *> distances_;
    QListWidget *warnings_ = nullptr;
};

} // namespace vistrel::app
