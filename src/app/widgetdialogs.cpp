#include "app/widgetdialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include <optional>

namespace vistrel::app {

namespace {

// Title of every message box: the program's own name.
QString messageBoxTitle() {
    return QCoreApplication::applicationName();
}

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
    QMessageBox box(icon, messageBoxTitle(), text, QMessageBox::Ok, parent);
    // Names from files and typed text are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Like the platform dialogs the program grew up with, a chosen file's folder
// becomes the current folder, where the next dialog starts.
QString remember(const QString &path) {
    if (!path.isEmpty())
        QDir::setCurrent(QFileInfo(path).absolutePath());
    return path;
}

// The ending a filter names, "vistrel" of "Vistrel project files (*.vistrel)";
// none for one of several patterns or of all files.
std::optional<QString> endingOf(const QString &filter) {
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.([^ *?()]+)\\)$"));
    const QRegularExpressionMatch match = single.match(filter);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

} // namespace

void WidgetDialogs::message(QWidget *parent, const QString &text) {
    showBox(parent, QMessageBox::NoIcon, text);
}

void WidgetDialogs::error(QWidget *parent, const QString &text) {
    showBox(parent, QMessageBox::Critical, text);
}

void WidgetDialogs::warning(QWidget *parent, const QString &text) {
    showBox(parent, QMessageBox::Warning, text);
}

bool WidgetDialogs::confirm(QWidget *parent, const QString &title, const QString &text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

bool WidgetDialogs::askYesNo(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Question, messageBoxTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Dialogs::Unsaved WidgetDialogs::askToSave(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Question, messageBoxTitle(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return Unsaved::Save;
    case QMessageBox::Discard:
        return Unsaved::Discard;
    default:
        return Unsaved::Cancel;
    }
}

QString WidgetDialogs::showOpenDialog(QWidget *parent, const QString &filter,
                                      const QString &folder) {
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return remember(dialog.selectedFiles().constFirst());
}

QString WidgetDialogs::showSaveDialog(QWidget *parent, const QString &filter, const QString &folder,
                                      const QString &suffix) {
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    // The ending follows the type of file chosen; "All files" keeps the first's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &suffix](const QString &chosen) {
                         dialog.setDefaultSuffix(endingOf(chosen).value_or(suffix));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return remember(dialog.selectedFiles().constFirst());
}

bool WidgetDialogs::runDialog(QDialog &dialog) {
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vistrel::app
