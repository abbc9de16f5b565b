#pragma once

#include "app/dialogs.h"

namespace vistrel::app {

// The real dialogs: QMessageBox and QFileDialog.
class WidgetDialogs : public Dialogs {
public:
    void message(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    void warning(QWidget *parent, const QString &text) override;
    bool confirm(QWidget *parent, const QString &title, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &text) override;
    Unsaved askToSave(QWidget *parent, const QString &text) override;
    QString showOpenDialog(QWidget *parent, const QString &filter, const QString &folder) override;
    QString showSaveDialog(QWidget *parent, const QString &filter, const QString &folder,
                           const QString &suffix) override;
    bool runDialog(QDialog &dialog) override;
};

} // namespace vistrel::app
