#pragma once

#include "session/sheet.h"

#include <QWidget>

#include <array>
#include <vector>

class QGridLayout;
class QLabel;

namespace vistrel::app {

// Lines of the sheet, a caption and its value each, as a page of the planner
// shows them.
class SheetLinesView : public QWidget {
    Q_OBJECT

public:
    // `captionName` and `valueName` are the labels' object names, "%1" the line.
    SheetLinesView(const QString &captionName, const QString &valueName, QWidget *parent = nullptr);

    // The labels of lines shown before are kept for the next lines, so that
    // a new figure repaints the figure alone.
    void setLines(const std::vector<SheetLine> &lines);

private:
    QString captionName_;
    QString valueName_;
    QGridLayout *grid_ = nullptr;
    std::vector<std::array<QLabel *, 2>> labels_; // as many as ever shown
};

} // namespace vistrel::app
