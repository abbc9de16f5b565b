#pragma once

#include "session/sheet.h"

#include <QTableWidget>

namespace vistrel::app {

// A table of the sheet as a page of the planner shows it: one line of text a
// row, read only, and left by Tab instead of walking its cells.
class SheetTableView : public QTableWidget {
    Q_OBJECT

public:
    SheetTableView(const QString &name, const QString &accessibleName, QWidget *parent = nullptr);

    // The cells take new texts in place, and the columns are measured again
    // only when a text's length or the table's shape changed, which is what
    // costs; a table as shown before changes nothing.
    void setTable(const SheetTable &table);

private:
    SheetTable shown_;
};

} // namespace vistrel::app
