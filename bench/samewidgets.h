#pragma once

#include <QMainWindow>

#include <memory>

namespace vistrel::bench {

// The floor of the start-up and memory targets: the calculator window as a
// form with no logic. The same widgets in the same tree, with the texts,
// fonts, colours, positions and pictures the calculator shows once started
// with the shipped files in English; the diagram boxes are left white. Plain
// Qt, none of the program's code. vistrel-bench-samewidgets --check compares
// it with the real window.
std::unique_ptr<QMainWindow> sameWidgetsWindow();

} // namespace vistrel::bench
