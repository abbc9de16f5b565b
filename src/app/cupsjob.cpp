#include "app/cupsjob.h"

#include <cups/cups.h>

namespace vistrel::app {

namespace {

AppError refused(const QString &printer) {
    return makeError(ErrorNumber::DeviceIoError,
                     QStringLiteral("Device I/O error: %1 did not take the job: %2")
                         .arg(printer, QString::fromUtf8(cupsLastErrorString())));
}

} // namespace

Result<int> submitPdfJob(const QString &printer, const QString &title, const QByteArray &pdf) {
    const QByteArray queue = printer.toUtf8();
    const QByteArray name = title.toUtf8();
    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), name.constData(), 0, nullptr);
    if (job == 0)
        return refused(printer);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, name.constData(),
                          CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE ||
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                             static_cast<std::size_t>(pdf.size())) != HTTP_STATUS_CONTINUE) {
        const AppError error = refused(printer);
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData());
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
        return error;
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) > IPP_STATUS_OK_CONFLICTING)
        return refused(printer);
    return job;
}

} // namespace vistrel::app
