#pragma once

#include "core/apperror.h"
#include "core/language.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace vistrel::app {

class Dialogs;

// The printer selection window: the installed printers, the default one
// preselected; Print puts the calculator window on the chosen printer.
// The system's default printer is never changed: the chosen printer is
// printed on directly.
class PrintDialog : public QDialog {
    Q_OBJECT

public:
    PrintDialog(QWidget &calculatorWindow, Dialogs &dialogs, const LanguageTexts &texts,
                QWidget *parent = nullptr);

    // Which entry was preselected as the default printer when the window
    // opened, and which printer this window prints on (-1: none).
    int InitialDefault() const { return initialDefault_; }
    int CurrentDefault() const { return currentDefault_; }
    const QString &target() const { return target_; }

    void cmdPrint_Click();

protected:
    void done(int result) override;

private:
    void loadPrinters();
    // Puts the calculator window on `printerName`; the scheduler's refusal is the error.
    Status printOn(const QString &printerName);
    // Makes printer `n` this window's target.
    void MakeDefaultPrinter(int n);

    QWidget &calculatorWindow_;
    Dialogs &dialogs_;
    QLabel *lblPrint_;
    QListWidget *lstPrinter_;
    QPushButton *cmdPrint_;
    QPushButton *cmdCancel_;
    QLabel *lblNoPrinter_ = nullptr;
    QStringList printerDevices_;
    QString defaultDevice_;
    int initialDefault_ = -1;
    int currentDefault_ = -1;
    QString target_;
};

} // namespace vistrel::app
