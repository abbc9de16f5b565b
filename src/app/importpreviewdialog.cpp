#include "app/importpreviewdialog.h"

#include "app/plaintext.h"
#include "core/language.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vistrel::app {

namespace {

// Where an item keeps the line of its row.
constexpr int kLineRole = Qt::UserRole;
// Room for a reason on one line and a dozen rows.
constexpr QSize kLeastSize{560, 360};

QString rowText(const ImportEntry &entry) {
    QStringList lines{describe(entry)};
    for (const ModelWarning &warning : entry.warnings)
        lines << QStringLiteral("    ") + visibleText(warning.text);
    return lines.join(u'\n');
}

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const std::vector<ImportEntry> &entries,
                                         const LanguageTexts &texts, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("dlgImportPreview"));
    setWindowTitle(plainWindowTitle(texts.text(OptionalKey::ImportTitle)));
    auto *layout = new QVBoxLayout(this);
    auto *note = new QLabel(texts.text(OptionalKey::ImportNote), this);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    layout->addWidget(note);

    rows_ = new QListWidget(this);
    rows_->setObjectName(QStringLiteral("lstImport"));
    rows_->setAccessibleName(texts.text(OptionalKey::ImportTitle));
    for (const ImportEntry &entry : entries) {
        auto *item = new QListWidgetItem(rowText(entry), rows_);
        item->setData(kLineRole, QVariant::fromValue(entry.line));
        if (entry.action == ImportEntry::Action::Replace) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            // Nothing of the user's is replaced without a tick.
            item->setCheckState(Qt::Unchecked);
        }
    }
    layout->addWidget(rows_, 1);

    auto *summary = new QLabel(importSummary(entries), this);
    summary->setObjectName(QStringLiteral("lblImportSummary"));
    summary->setTextFormat(Qt::PlainText);
    layout->addWidget(summary);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(std::any_of(entries.begin(), entries.end(), [](const ImportEntry &e) {
            return e.action != ImportEntry::Action::Refuse;
        }));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(sizeHint().expandedTo(kLeastSize));
}

bool ImportPreviewDialog::replaces(const ImportEntry &entry) const {
    for (int i = 0; i < rows_->count(); ++i) {
        const QListWidgetItem *item = rows_->item(i);
        if (item->data(kLineRole).value<qsizetype>() == entry.line)
            return (item->flags() & Qt::ItemIsUserCheckable) && item->checkState() == Qt::Checked;
    }
    return false;
}

} // namespace vistrel::app
