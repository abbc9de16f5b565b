#pragma once

#include "core/apperror.h"
#include "core/language.h"

#include <QStringList>

class QWidget;

namespace vistrel::app {

class Dialogs;

// The printer window and the CUPS job live in a module of their own,
// opened at the first File > Print, so that the window starts without Qt
// Print Support, CUPS and the libraries they bring.
using ShowPrinterWindow = void (*)(QWidget &calculatorWindow, Dialogs &dialogs,
                                   const LanguageTexts &texts);

inline constexpr char kPrintModuleName[] = "libvistrel-printwindow.so";
inline constexpr char kShowPrinterWindowSymbol[] = "vistrelShowPrinterWindow";
// The module answers with the version it was built as; one of another
// version is not used, since its entry point may take other arguments.
inline constexpr char kPrintModuleVersionSymbol[] = "vistrelPrintModuleVersion";
using PrintModuleVersion = const char *(*)();

// Where the module is looked for, in this order: beside the program (a build
// folder), then where the package installs it.
QStringList printModuleCandidates(const QString &programFolder);

struct PrinterWindow {
    ShowPrinterWindow show = nullptr;
};

// The module's entry point; the reason, as the common error box says it,
// when no usable module is found.
Result<PrinterWindow> loadPrinterWindow(const QString &programFolder);

// The version a module must answer.
const char *printModuleVersion();

} // namespace vistrel::app
