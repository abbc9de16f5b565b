#pragma once

#include "core/apperror.h"
#include "core/language.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace vistrel::app {

class Dialogs;

// The printer selection window: the installed printers, the default one
// preselected; Print puts the calculator window on the chosen printer
// directly, so the system's default printer is never changed.
class PrintDialog : public QDialog {
    Q_OBJECT

public:
    PrintDialog(QWidget &calculatorWindow, Dialogs &dialogs, const LanguageTexts &texts,
                QWidget *parent = nullptr);

    void cmdPrint_Click();

private:
    void loadPrinters();
    // Puts the calculator window on `printerName`; the scheduler's refusal is the error.
    [[nodiscard]] Result<void> printOn(const QString &printerName);

    QWidget &calculatorWindow_;
    Dialogs &dialogs_;
    const LanguageTexts &texts_;
    QLabel *printerLabel_;
    QListWidget *printerList_;
    QPushButton *printButton_;
    QPushButton *cancelButton_;
    QLabel *noPrinterLabel_ = nullptr;
};

} // namespace vistrel::app
