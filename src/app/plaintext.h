#pragma once

#include <QLabel>
#include <QWidget>

namespace vistrel::app {

// Captions come from Language.ini, catalogues and file names; a label left to
// guess its format would take "<b>" or "&amp;" in them as markup.
inline void showLabelsAsPlainText(QWidget *window) {
    for (QLabel *label : window->findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
}

// A window title turns "[*]" into the unsaved-changes mark; a file name that
// holds it is shown as it is.
inline QString plainWindowTitle(QString title) {
    return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// A tooltip that shows `text` as it is: Qt guesses a tooltip's format too.
inline QString plainToolTip(const QString &text) {
    return QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace vistrel::app
