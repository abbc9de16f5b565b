#pragma once

#include "session/modelimport.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace vistrel {
struct LanguageTexts;
}

namespace vistrel::app {

// What an import would do, row by row, before anything is written: each
// row added, refused with its reason, or replacing an own model of its
// name, which the user ticks where it should; then how many of each.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT

public:
    ImportPreviewDialog(const std::vector<ImportEntry> &entries, const LanguageTexts &texts,
                        QWidget *parent);

    // Whether the user ticked this replacing row.
    bool replaces(const ImportEntry &entry) const;

private:
    QListWidget *rows_ = nullptr;
};

} // namespace vistrel::app
