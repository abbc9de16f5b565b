#include "core/pictureformat.h"

#include "core/numbers.h"

#include <cmath>

namespace vistrel {

namespace {

Result<PictureFormat> outOfRange(QStringView text) {
    return makeError(ErrorNumber::InvalidPropertyValue,
                     QStringLiteral("Invalid property value: %1 is no picture format; give W:H or "
                                    "a ratio from %2 to %3")
                         .arg(text.toString())
                         .arg(kNarrowestRatio)
                         .arg(kWidestRatio));
}

QString side(double value) {
    return formatGeneral(value);
}

} // namespace

PictureFormat formatOf(Aspect aspect) {
    return {info(aspect).width, info(aspect).height};
}

std::optional<Aspect> aspectOf(const PictureFormat &format) {
    return aspectOf(format.width, format.height);
}

const FormatInfo *otherFormatOf(const PictureFormat &format) {
    for (const FormatInfo &row : kOtherFormats) {
        if (row.width == format.width && row.height == format.height)
            return &row;
    }
    return nullptr;
}

QString formatLabel(const PictureFormat &format) {
    if (const std::optional<Aspect> aspect = aspectOf(format))
        return QLatin1String(info(*aspect).label);
    if (const FormatInfo *row = otherFormatOf(format))
        return QLatin1String(row->label);
    return side(format.width) + QStringLiteral(" : ") + side(format.height);
}

QString ratioLabel(double ratio) {
    auto near = [ratio](double width, double height) {
        return std::abs(ratio / (width / height) - 1) <= 0.01;
    };
    for (const AspectInfo &row : kAspects) {
        if (near(row.width, row.height))
            return QLatin1String(row.label);
    }
    for (const FormatInfo &row : kOtherFormats) {
        if (near(row.width, row.height))
            return QLatin1String(row.label);
    }
    return QString::number(ratio, 'f', 2) + QStringLiteral(" : 1");
}

Result<PictureFormat> parseFormat(QStringView text) {
    QString compact = text.toString();
    compact.remove(u' ');
    for (const AspectInfo &row : kAspects) {
        if (compact == QLatin1String(row.cli))
            return formatOf(row.aspect);
    }
    for (const FormatInfo &row : kOtherFormats) {
        if (compact == QLatin1String(row.cli) ||
            compact == QString::fromLatin1(row.label).remove(u' '))
            return PictureFormat{row.width, row.height};
    }
    PictureFormat format;
    const qsizetype colon = compact.indexOf(u':');
    if (colon < 0) {
        const std::optional<double> ratio = parseNumber(compact);
        if (!ratio)
            return outOfRange(text);
        format = {*ratio, 1};
    } else {
        const std::optional<double> width = parseNumber(QStringView(compact).left(colon));
        const std::optional<double> height = parseNumber(QStringView(compact).mid(colon + 1));
        if (!width || !height)
            return outOfRange(text);
        format = {*width, *height};
    }
    if (!checkFormat(format))
        return outOfRange(text);
    return format;
}

Result<PictureFormat> checkFormat(const PictureFormat &format) {
    if (aspectOf(format))
        return format;
    // The sides first: a zero height has no ratio.
    if (!(format.width > 0 && format.height > 0 && format.ratio() >= kNarrowestRatio &&
          format.ratio() <= kWidestRatio))
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: %1 is no picture format")
                             .arg(formatLabel(format)));
    return format;
}

Result<double> checkAnamorphic(double factor) {
    if (!(factor >= kNoAnamorphic && factor <= kLargestAnamorphic))
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: the anamorphic factor must be a "
                                        "number from %1 to %2")
                             .arg(kNoAnamorphic)
                             .arg(kLargestAnamorphic));
    return factor;
}

Result<double> parseAnamorphic(QStringView text) {
    const std::optional<double> factor = parseNumber(text);
    if (!factor)
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: %1 is no anamorphic factor")
                             .arg(text.toString()));
    return checkAnamorphic(*factor);
}

} // namespace vistrel
