#include "printdialog.h"

#include "app/dialogs.h"
#include "app/plaintext.h"
#include "app/twips.h"
#include "app/uifont.h"
#include "cupsjob.h"
#include "windowprinter.h"

#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace vistrel::app {

PrintDialog::PrintDialog(QWidget &calculatorWindow, Dialogs &dialogs, const LanguageTexts &texts,
                         QWidget *parent)
    : QDialog(parent), calculatorWindow_(calculatorWindow), dialogs_(dialogs),
      lblPrint_(new QLabel(this)), lstPrinter_(new QListWidget(this)),
      cmdPrint_(new QPushButton(this)), cmdCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmPrint"));
    setFixedSize(px(5415), px(2595));
    setWindowTitle(plainWindowTitle(texts.text(LangKey::Lbl18)));

    lblPrint_->setObjectName(QStringLiteral("lblPrint"));
    lblPrint_->setGeometry(px(TwipsRect{120, 60, 4395, 255}));
    lblPrint_->setText(texts.text(LangKey::Lbl19));
    lstPrinter_->setObjectName(QStringLiteral("lstPrinter"));
    lstPrinter_->setGeometry(px(TwipsRect{120, 300, 5235, 1815}));
    lblPrint_->setBuddy(lstPrinter_);
    cmdPrint_->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint_->setGeometry(px(TwipsRect{3120, 2220, 1095, 315}));
    cmdPrint_->setText(texts.text(LangKey::Lbl20));
    cmdPrint_->setDefault(true);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(px(TwipsRect{4260, 2220, 1095, 315}));
    cmdCancel_->setText(texts.text(LangKey::Lbl21));

    const QFont font = uiFont(lblPrint_->font(), texts);
    for (QWidget *w :
         std::initializer_list<QWidget *>{lblPrint_, lstPrinter_, cmdPrint_, cmdCancel_})
        w->setFont(font);

    // Shown over the empty list, so an empty window says why nothing can be printed.
    lblNoPrinter_ = new QLabel(texts.text(OptionalKey::NoPrinter), lstPrinter_);
    lblNoPrinter_->setObjectName(QStringLiteral("lblNoPrinter"));
    lblNoPrinter_->setFont(font);
    lblNoPrinter_->setAlignment(Qt::AlignCenter);
    lblNoPrinter_->setWordWrap(true);
    lblNoPrinter_->setGeometry(lstPrinter_->rect().adjusted(4, 4, -4, -4));
    lblNoPrinter_->hide();

    connect(cmdPrint_, &QPushButton::clicked, this, &PrintDialog::cmdPrint_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    loadPrinters();
    showLabelsAsPlainText(this);
}

void PrintDialog::loadPrinters() {
    lstPrinter_->clear();
    printerDevices_ = QPrinterInfo::availablePrinterNames();
    lblNoPrinter_->setVisible(printerDevices_.isEmpty());
    if (printerDevices_.isEmpty()) {
        cmdPrint_->setEnabled(false);
        return;
    }
    for (qsizetype n = 0; n < printerDevices_.size(); ++n) {
        auto *item = new QListWidgetItem(printerDevices_.at(n), lstPrinter_);
        item->setData(Qt::UserRole, static_cast<int>(n));
    }
    cmdPrint_->setEnabled(true);
    defaultDevice_ = QPrinterInfo::defaultPrinterName();
    for (int row = 0; row < lstPrinter_->count(); ++row) {
        if (lstPrinter_->item(row)->text() == defaultDevice_) { // exact, letter case counts
            initialDefault_ = currentDefault_ = lstPrinter_->item(row)->data(Qt::UserRole).toInt();
            lstPrinter_->setCurrentRow(row);
            MakeDefaultPrinter(initialDefault_);
            break;
        }
    }
}

void PrintDialog::MakeDefaultPrinter(int n) {
    target_ = n >= 0 && n < printerDevices_.size() ? printerDevices_.at(n) : QString();
}

void PrintDialog::cmdPrint_Click() {
    const QList<QListWidgetItem *> selected = lstPrinter_->selectedItems();
    if (selected.isEmpty()) {
        dialogs_.error(this, makeError(ErrorNumber::InvalidPropertyArrayIndex,
                                       QStringLiteral("Invalid property array index: no printer "
                                                      "is selected"))
                                 .boxText());
        accept();
        return;
    }
    const int n = selected.constFirst()->data(Qt::UserRole).toInt();
    if (n != currentDefault_) {
        MakeDefaultPrinter(n);
        currentDefault_ = n;
    }
    // A job the scheduler refused is reported here and the window stays open,
    // so the user can choose another printer.
    if (Status s = printOn(target_)) {
        dialogs_.error(this, s->boxText());
        return;
    }
    accept();
}

Status PrintDialog::printOn(const QString &printerName) {
    const QPrinter printer(QPrinterInfo::printerInfo(printerName), QPrinter::HighResolution);
    const Result<QByteArray> page = windowPagePdf(calculatorWindow_, printer.pageLayout());
    if (!page)
        return page.error();
    const Result<int> job = submitPdfJob(printerName, calculatorWindow_.windowTitle(), *page);
    if (!job)
        return job.error();
    return std::nullopt;
}

void PrintDialog::done(int result) {
    if (currentDefault_ != initialDefault_ && initialDefault_ != -1)
        MakeDefaultPrinter(initialDefault_);
    QDialog::done(result);
}

} // namespace vistrel::app
