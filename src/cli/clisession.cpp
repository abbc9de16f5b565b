#include "clisession.h"

#include "files/calcfile.h"

namespace vistrel::cli {

namespace {

ApplyResult failed(const QString &reason) {
    return {false, reason};
}

} // namespace

ApplyResult applyOptions(Calculator &calc, const CliOptions &o,
                         const std::function<std::optional<AppError>()> &engineError) {
    if (!o.open.isEmpty()) {
        if (Status s = OpenCalculateFile(calc, o.open))
            return failed(s->boxText());
    }
    if (o.model) {
        const qsizetype position = calc.controls().modelItems.indexOf(*o.model);
        if (position < 0)
            return failed(QStringLiteral("model not in the catalogue: %1").arg(*o.model));
        calc.selectModelEntry(static_cast<int>(position));
    }
    if (const auto error = engineError())
        return failed(error->boxText());

    const Controls &c = calc.controls();
    if (o.zoom) {
        if (!c.zoomEnabled[static_cast<std::size_t>(*o.zoom)] && c.zoom != *o.zoom)
            return failed(
                QStringLiteral("the model does not offer the %1 end").arg(zoomEndName(*o.zoom)));
        calc.selectZoom(*o.zoom);
    }
    if (o.aspect) {
        if (*o.aspect == 2 && !c.aspect169Enabled)
            return failed(QStringLiteral("the model does not offer 16 : 9"));
        calc.selectAspect(*o.aspect);
    }
    if (o.unit)
        calc.selectUnit(*o.unit);
    if (o.position)
        calc.selectPosition(*o.position);

    ApplyResult result;
    if (o.valueField >= 0) {
        calc.txtValue_GotFocus(o.valueField);
        calc.setFieldText(o.valueField, o.valueText);
        result.accepted = calc.cmdEnter_Click(o.valueField);
    }
    if (const auto error = engineError())
        return failed(error->boxText());
    return result;
}

} // namespace vistrel::cli
