// vistrel-bench-samewidgets: the calculator window as a form with no logic,
// shown until it is closed; --check compares it with the real window.
#include "samewidgets.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/vistrel.png")));
    const std::unique_ptr<QMainWindow> window = vistrel::bench::sameWidgetsWindow();
    window->show();
    return QApplication::exec();
}
