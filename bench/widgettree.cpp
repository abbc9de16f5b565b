#include "widgettree.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace vistrel::bench {

namespace {

QString textOf(const QWidget *w) {
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        const QPixmap picture = label->pixmap();
        return QStringLiteral("text=\"%1\" format=%2 picture=%3x%4")
            .arg(label->text())
            .arg(label->textFormat())
            .arg(picture.width())
            .arg(picture.height());
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return QStringLiteral("text=\"%1\" icon=%2 checked=%3 enabled=%4")
            .arg(button->text())
            .arg(button->icon().isNull() ? 0 : 1)
            .arg(button->isChecked())
            .arg(button->isEnabled());
    if (const auto *edit = qobject_cast<const QLineEdit *>(w))
        return QStringLiteral("text=\"%1\" readOnly=%2").arg(edit->text()).arg(edit->isReadOnly());
    if (const auto *combo = qobject_cast<const QComboBox *>(w)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return QStringLiteral("items=\"%1\" current=%2")
            .arg(items.join(u'|'))
            .arg(combo->currentIndex());
    }
    if (const auto *group = qobject_cast<const QGroupBox *>(w))
        return QStringLiteral("title=\"%1\"").arg(group->title());
    if (const auto *menu = qobject_cast<const QMenu *>(w)) {
        QStringList actions;
        for (const QAction *a : menu->actions())
            actions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return QStringLiteral("title=\"%1\" actions=\"%2\"").arg(menu->title(), actions.join(u'|'));
    }
    return QString();
}

// The Qt class a widget is made of: a window's own subclasses that only add
// behaviour are built and painted as their Qt base class.
QLatin1String qtClassOf(const QWidget *w) {
    const QMetaObject *meta = w->metaObject();
    while (meta->superClass() && QByteArray(meta->className()).contains("::"))
        meta = meta->superClass();
    return QLatin1String(meta->className());
}

void describe(const QWidget *w, int depth, QStringList &lines) {
    const QRect g = w->geometry();
    lines << QStringLiteral("%1%2 %3 %4,%5 %6x%7 %8 font=\"%9\" %10pt fill=%11 fg=%12 %13")
                 .arg(QString(depth * 2, u' '), qtClassOf(w), w->objectName())
                 .arg(g.x())
                 .arg(g.y())
                 .arg(g.width())
                 .arg(g.height())
                 .arg(w->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"))
                 .arg(w->font().family())
                 .arg(w->font().pointSizeF())
                 .arg(w->autoFillBackground() ? w->palette().color(w->backgroundRole()).name()
                                              : QStringLiteral("-"))
                 .arg(w->palette().color(w->foregroundRole()).name())
                 .arg(textOf(w));
    for (const QObject *child : w->children())
        if (child->isWidgetType())
            describe(static_cast<const QWidget *>(child), depth + 1, lines);
}

} // namespace

QStringList describeWidgetTree(const QWidget *window) {
    QStringList lines;
    lines << QStringLiteral("window title=\"%1\"").arg(window->windowTitle());
    describe(window, 0, lines);
    return lines;
}

} // namespace vistrel::bench
