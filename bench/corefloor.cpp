// vistrel-bench-corefloor: the floor of the command-line target, a Qt Core
// program that prints one line.
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << "Vistrel\n";
    return 0;
}
