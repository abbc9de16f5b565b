#include "app/sheetlinesview.h"

#include <QGridLayout>
#include <QLabel>

namespace vistrel::app {

SheetLinesView::SheetLinesView(const QString &captionName, const QString &valueName,
                               QWidget *parent)
    : QWidget(parent), captionName_(captionName), valueName_(valueName),
      grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
}

void SheetLinesView::setLines(const std::vector<SheetLine> &lines) {
    while (labels_.size() < lines.size()) {
        const int row = static_cast<int>(labels_.size());
        std::array<QLabel *, 2> pair{new QLabel(this), new QLabel(this)};
        pair[0]->setObjectName(captionName_.arg(row));
        pair[1]->setObjectName(valueName_.arg(row));
        for (QLabel *label : pair) {
            label->setTextFormat(Qt::PlainText);
            label->setAutoFillBackground(true);
        }
        grid_->addWidget(pair[0], row, 0);
        grid_->addWidget(pair[1], row, 1);
        labels_.push_back(pair);
    }
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const bool shown = i < lines.size();
        for (std::size_t c = 0; c < 2; ++c) {
            QLabel *label = labels_[i][c];
            const QString text = !shown ? QString() : c == 0 ? lines[i].caption : lines[i].value;
            if (label->text() != text)
                label->setText(text);
            label->setVisible(shown);
        }
    }
}

} // namespace vistrel::app
