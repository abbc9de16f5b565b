#pragma once

#include "files/filewriter.h"

#include <QString>

namespace vistrel {

// The name every Vistrel program gives Qt. The user folder
// (QStandardPaths::AppDataLocation) is named after it alone, so the window
// and vistrel-cli keep the catalogue in the same one; the window's boxes take
// it as their title.
inline QString applicationName() {
    return QStringLiteral("Vistrel");
}

namespace detail {

// A base of Application, so that it comes before the application object.
struct FileSizeSignalIgnored {
    FileSizeSignalIgnored() { ignoreFileSizeSignal(); }
};

} // namespace detail

// The application object (QCoreApplication, or QApplication where the window
// is drawn), made as every Vistrel program makes it. From before it exists,
// a write past the file size limit is an error the atomic writer reports, not
// a signal that kills the process; once it exists it bears the program's name.
// Qt sees `argc` and `argv` alone: the command line, or the program name by
// itself where none of the user's arguments may be taken for Qt's own.
template <class App> class Application : private detail::FileSizeSignalIgnored, public App {
public:
    Application(int &argc, char **argv) : App(argc, argv) {
        App::setApplicationName(applicationName());
    }
};

} // namespace vistrel
