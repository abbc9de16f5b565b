#pragma once

#include "cli/clirun.h"
#include "session/application.h"

#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace vistrel::cli {

// The start vistrel-cli and vistrel-render share: the user's arguments are
// checked before anything else, then the application object (App is
// QCoreApplication or QApplication) is made without them, and Qt's notes to
// the developer are kept off stderr. Nothing more is made when the arguments
// were refused; err has said why.
template <class App> class CliStart {
public:
    CliStart(int argc, char *argv[])
        : arguments_(startArguments(argc, argv, err_)), qtArguments_(argv[0]) {
        if (!arguments_)
            return;
        keepQtNotesOffStderr();
        app_.emplace(qtArguments_.argc, qtArguments_.argv);
    }
    CliStart(const CliStart &) = delete;
    CliStart &operator=(const CliStart &) = delete;

    // Without the program name; none when they were refused.
    const std::optional<QStringList> &arguments() const { return arguments_; }
    QTextStream &out() { return out_; }
    QTextStream &err() { return err_; }

private:
    QTextStream out_{stdout};
    QTextStream err_{stderr};
    std::optional<QStringList> arguments_;
    QtArguments qtArguments_;
    std::optional<Application<App>> app_;
};

} // namespace vistrel::cli
