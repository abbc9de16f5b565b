#pragma once

#include "core/language.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace vistrel::app {

class Dialogs;

// The printer selection window.
class PrintDialog : public QDialog {
    Q_OBJECT

public:
    PrintDialog(Dialogs &dialogs, const LanguageTexts &texts, QWidget *parent = nullptr);

private:
    Dialogs &dialogs_;
    QLabel *lblPrint_;
    QListWidget *lstPrinter_;
    QPushButton *cmdPrint_;
    QPushButton *cmdCancel_;
};

} // namespace vistrel::app
