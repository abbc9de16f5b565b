#include "app/printdialog.h"

#include "app/cupsjob.h"
#include "app/dialogs.h"
#include "app/plaintext.h"
#include "app/twips.h"
#include "app/uifont.h"
#include "print/windowprinter.h"

#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace vistrel::app {

PrintDialog::PrintDialog(QWidget &calculatorWindow, Dialogs &dialogs, const LanguageTexts &texts,
                         QWidget *parent)
    : QDialog(parent), calculatorWindow_(calculatorWindow), dialogs_(dialogs), texts_(texts),
      printerLabel_(new QLabel(this)), printerList_(new QListWidget(this)),
      printButton_(new QPushButton(this)), cancelButton_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmPrint"));
    setFixedSize(px(5415), px(2595));
    setWindowTitle(plainWindowTitle(texts.text(LangKey::PrintTitle)));

    printerLabel_->setObjectName(QStringLiteral("lblPrint"));
    printerLabel_->setGeometry(px(TwipsRect{120, 60, 4395, 255}));
    printerLabel_->setText(texts.text(LangKey::PrinterCaption));
    printerList_->setObjectName(QStringLiteral("lstPrinter"));
    printerList_->setGeometry(px(TwipsRect{120, 300, 5235, 1815}));
    printerLabel_->setBuddy(printerList_);
    printButton_->setObjectName(QStringLiteral("cmdPrint"));
    printButton_->setGeometry(px(TwipsRect{3120, 2220, 1095, 315}));
    printButton_->setText(texts.text(LangKey::PrintButton));
    printButton_->setDefault(true);
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    cancelButton_->setGeometry(px(TwipsRect{4260, 2220, 1095, 315}));
    cancelButton_->setText(texts.text(LangKey::CancelButton));

    const QFont font = uiFont(printerLabel_->font(), texts);
    for (QWidget *w :
         std::initializer_list<QWidget *>{printerLabel_, printerList_, printButton_, cancelButton_})
        w->setFont(font);

    // Shown over the empty list, so an empty window says why nothing can be printed.
    noPrinterLabel_ = new QLabel(texts.text(OptionalKey::NoPrinter), printerList_);
    noPrinterLabel_->setObjectName(QStringLiteral("lblNoPrinter"));
    noPrinterLabel_->setFont(font);
    noPrinterLabel_->setAlignment(Qt::AlignCenter);
    noPrinterLabel_->setWordWrap(true);
    noPrinterLabel_->setGeometry(printerList_->rect().adjusted(4, 4, -4, -4));
    noPrinterLabel_->hide();

    connect(printButton_, &QPushButton::clicked, this, &PrintDialog::cmdPrint_Click);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    loadPrinters();
    showLabelsAsPlainText(this);
}

void PrintDialog::loadPrinters() {
    printerList_->clear();
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    noPrinterLabel_->setVisible(printers.isEmpty());
    printButton_->setEnabled(!printers.isEmpty());
    printerList_->addItems(printers);
    // The default printer preselected: its name exactly, letter case counting.
    const QList<QListWidgetItem *> defaults =
        printerList_->findItems(QPrinterInfo::defaultPrinterName(), Qt::MatchExactly);
    if (!defaults.isEmpty())
        printerList_->setCurrentItem(defaults.constFirst());
}

void PrintDialog::cmdPrint_Click() {
    const QList<QListWidgetItem *> selected = printerList_->selectedItems();
    if (selected.isEmpty()) {
        dialogs_.error(this,
                       localizedBoxText(makeError(ErrorNumber::InvalidPropertyArrayIndex,
                                                  QStringLiteral("Invalid property array index: "
                                                                 "no printer is selected")),
                                        texts_));
        accept();
        return;
    }
    // A job the scheduler refused is reported here and the window stays open,
    // so the user can choose another printer.
    if (Result<void> printed = printOn(selected.constFirst()->text()); !printed) {
        dialogs_.error(this, localizedBoxText(printed.error(), texts_));
        return;
    }
    accept();
}

Result<void> PrintDialog::printOn(const QString &printerName) {
    const QPrinter printer(QPrinterInfo::printerInfo(printerName), QPrinter::HighResolution);
    QByteArray page;
    VISTREL_TRY_ASSIGN(page, print::windowPagePdf(calculatorWindow_, printer.pageLayout()));
    VISTREL_TRY(submitPdfJob(printerName, calculatorWindow_.windowTitle(), page));
    return {};
}

} // namespace vistrel::app
