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
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    lblNoPrinter_->setVisible(printers.isEmpty());
    cmdPrint_->setEnabled(!printers.isEmpty());
    lstPrinter_->addItems(printers);
    // The default printer preselected: its name exactly, letter case counting.
    const QList<QListWidgetItem *> defaults =
        lstPrinter_->findItems(QPrinterInfo::defaultPrinterName(), Qt::MatchExactly);
    if (!defaults.isEmpty())
        lstPrinter_->setCurrentItem(defaults.constFirst());
}

void PrintDialog::cmdPrint_Click() {
    const QList<QListWidgetItem *> selected = lstPrinter_->selectedItems();
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
