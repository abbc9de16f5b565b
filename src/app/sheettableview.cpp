#include "app/sheettableview.h"

#include <QHeaderView>

namespace vistrel::app {

namespace {

constexpr int kRowPadding = 6; // pixels above and below a row's text, together

} // namespace

SheetTableView::SheetTableView(const QString &name, const QString &accessibleName, QWidget *parent)
    : QTableWidget(parent) {
    setObjectName(name);
    setAccessibleName(accessibleName);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + kRowPadding);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTabKeyNavigation(false);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
}

void SheetTableView::setTable(const SheetTable &table) {
    if (table.headers == shown_.headers && table.rows == shown_.rows)
        return;
    bool remeasure = table.headers != shown_.headers || table.rows.size() != shown_.rows.size();
    if (table.headers != shown_.headers) {
        setColumnCount(static_cast<int>(table.headers.size()));
        setHorizontalHeaderLabels(table.headers);
    }
    setRowCount(static_cast<int>(table.rows.size()));
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const QStringList &cells = table.rows[r];
        for (qsizetype c = 0; c < cells.size() && c < columnCount(); ++c) {
            QTableWidgetItem *cell = item(static_cast<int>(r), static_cast<int>(c));
            if (!cell) {
                cell = new QTableWidgetItem;
                // The first column names the row; the others are figures.
                if (c > 0)
                    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                setItem(static_cast<int>(r), static_cast<int>(c), cell);
            }
            if (cell->text() == cells[c])
                continue;
            remeasure = remeasure || cell->text().size() != cells[c].size();
            cell->setText(cells[c]);
        }
    }
    shown_ = table;
    if (remeasure)
        resizeColumnsToContents();
}

} // namespace vistrel::app
