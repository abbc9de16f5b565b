#pragma once

#include <QStringList>

class QWidget;

namespace vistrel::bench {

// One line per widget and menu action of a window, in tree order: class,
// object name, geometry, whether it is shown, its text, font, colours and
// the size of its picture. Two windows that give the same lines are the same
// to build and to paint, whatever code made them.
QStringList describeWidgetTree(const QWidget *window);

} // namespace vistrel::bench
