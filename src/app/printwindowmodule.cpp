// libvistrel-printwindow.so: the printer window, opened by the calculator
// window at the first File > Print (see printmodule.h).
#include "app/printdialog.h"
#include "app/printmodule.h"

extern "C" {

Q_DECL_EXPORT const char *vistrelPrintModuleVersion() {
    return VISTREL_PRINT_MODULE_VERSION;
}

Q_DECL_EXPORT void vistrelShowPrinterWindow(QWidget &calculatorWindow,
                                            vistrel::app::Dialogs &dialogs,
                                            const vistrel::LanguageTexts &texts) {
    vistrel::app::PrintDialog dialog(calculatorWindow, dialogs, texts);
    dialog.exec();
}
}
