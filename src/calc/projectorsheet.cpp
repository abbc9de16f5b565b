#include "calc/projectorsheet.h"

#include "calc/lens.h"
#include "calc/pictureonpanel.h"
#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace vistrel {

namespace {

// Sizes a sheet leaves out: what most sheets allow, a warning says so.
constexpr SheetSizes kAssumedSizes{30, 300, std::nullopt};
// The 4 : 3 diagonal a throw ratio is judged at when the line has an intercept.
constexpr double kJudgedDiagonal = 100;

bool positive(double value) {
    return value > 0 && std::isfinite(value);
}

const QString kRefusedPrefix = QStringLiteral("Invalid property value: ");

AppError refused(const QString &term, const QString &why) {
    return makeError(ErrorNumber::InvalidPropertyValue,
                     kRefusedPrefix + term + QStringLiteral(": ") + why);
}

QString zoomTerm(const char *term, Zoom zoom) {
    return QStringLiteral("%1_%2").arg(
        QLatin1String(term), zoom == Zoom::Wide ? QStringLiteral("wide") : QStringLiteral("tele"));
}

// With pixels the panel decides: a 16 : 9 one follows the catalogue's own
// 16 : 9 rule, any other shape the panel rule. Without them 16 : 9, as on
// most projectors sold today.
std::int16_t modeOfPanel(const ModelRecord &record) {
    if (!record.hasPanelPixels())
        return 1;
    return isWidePanel(record.panelWidthPx / record.panelHeightPx) ? 1 : kPanelScreenMode;
}

double wholePanelDiagonalPerD43(double panel) {
    return place(panel, kNoAnamorphic, panel).picture.diagonal();
}

// The 16 : 9 limits that match the 4 : 3 ones on this model's panel.
DiagonalRange derived169(const ModelRecord &record, Zoom zoom) {
    if (!record.offers169())
        return {};
    const double f = place(panelAspect(record), kNoAnamorphic, 16.0 / 9).picture.diagonal();
    const DiagonalRange d43 = record.diagonals.fourThree[zoom];
    return {d43.min * f, d43.max * f};
}

bool same(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

ModelRecord::Coefficients offsetCoefficients(const SheetOffset &offset) {
    const double low = offset.low / 100;
    const double high = offset.high.value_or(0) / 100;
    // A second offset exists where the second coefficient is not 0: a range
    // ending at the axis keeps its other end there.
    if (offset.high && high == 0)
        return {high, low};
    return {low, high};
}

Result<ModelRecord::Coefficients> lensLine(const SheetLens &lens, Zoom zoom, double panel) {
    if (lens.formula) {
        auto line = lensFromFormula(*lens.formula, panel);
        if (!line)
            return refused(zoomTerm("formula", zoom), line.error().description);
        return *line;
    }
    const double ratio = lens.throwRatio.value_or(0);
    if (!positive(ratio))
        return refused(zoomTerm("throw", zoom),
                       QStringLiteral("the throw ratio must be a number above 0"));
    auto line = lensFromThrowRatio(ratio, panel);
    if (!line)
        return refused(zoomTerm("throw", zoom), line.error().description);
    return *line;
}

void setPlanner(ModelRecord &r, const ProjectorSheet &s, std::vector<ModelWarning> &warnings) {
    const double factor = s.teleFactor > 0                   ? s.teleFactor
                          : s.teleLumens > 0 && s.lumens > 0 ? s.teleLumens / s.lumens
                                                             : 0;
    const std::array<std::pair<int, double>, 5> values{{
        {kModelFieldCount, s.lumens},
        {kModelFieldCount + 1, factor},
        {kModelFieldCount + 2, r.panelWidthPx},
        {kModelFieldCount + 3, r.panelHeightPx},
        {kModelFieldCount + 4, s.contrast},
    }};
    for (const auto &[field, value] : values) {
        if (validPlannerValue(field, value)) {
            plannerField(r, field) = value;
        } else {
            plannerField(r, field) = 0;
            warnings.push_back(
                {field == kModelFieldCount + 1 ? QStringLiteral("tele_factor") : fieldName(field),
                 QStringLiteral("%1 is no valid planner data: taken as unknown")
                     .arg(formatShortest(value))});
        }
    }
    if (s.teleLumens > 0 && s.teleFactor <= 0 && s.lumens <= 0)
        warnings.push_back({QStringLiteral("tele_lumens"),
                            QStringLiteral("the light at TELE needs the lumens at WIDE")});
}

// The sheet's fields, sizes it leaves out assumed when `assumeSizes`.
Result<SheetRecord> convert(const ProjectorSheet &s, bool assumeSizes) {
    SheetRecord out;
    ModelRecord &r = out.record;
    r.name = s.name.trimmed();
    if (positive(s.pixelsWide) && positive(s.pixelsHigh)) {
        r.panelWidthPx = s.pixelsWide;
        r.panelHeightPx = s.pixelsHigh;
    } else if (s.pixelsWide != 0 || s.pixelsHigh != 0) {
        out.warnings.push_back(
            {QStringLiteral("px"), QStringLiteral("the resolution needs both sides: the panel is "
                                                  "taken as 16 : 9")});
    }
    r.wideScreenMode = s.wideScreenMode.value_or(modeOfPanel(r));
    r.drawFlag = s.mirrored ? 1 : 0;
    const double panel = panelAspect(r);
    const PictureFormat panelShape{panel, 1};

    bool assumed = false;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (s.lens[zoom]) {
            VISTREL_TRY_ASSIGN(r.lens[zoom], lensLine(*s.lens[zoom], zoom, panel));
        }
        std::optional<SheetSizes> sizes = s.sizes[zoom];
        if (!sizes && s.lens[zoom] && assumeSizes) {
            sizes = kAssumedSizes;
            assumed = true;
        }
        if (sizes) {
            const PictureFormat shape = sizes->shape.value_or(panelShape);
            r.diagonals.fourThree[zoom] = {diagonal43Of(sizes->min, shape, panel),
                                           diagonal43Of(sizes->max, shape, panel)};
        }
        r.diagonals.sixteenNine[zoom] = s.limits169 ? (*s.limits169)[zoom] : derived169(r, zoom);
        r.offsetCoefs[zoom] = offsetCoefficients(s.offset[zoom]);
    }
    if (assumed)
        out.warnings.push_back(
            {QStringLiteral("diag"),
             QStringLiteral("no screen sizes given: 30 to 300 in of the whole panel taken")});
    setPlanner(r, s, out.warnings);
    return out;
}

} // namespace

Result<void> checkModelName(const QString &name) {
    if (name.trimmed().isEmpty())
        return refused(QStringLiteral("name"), QStringLiteral("a projector needs a name"));
    // A catalogue's reader trims them, and takes a U+FEFF at a line's start
    // for a byte-order mark: the name would come back another.
    if (name.trimmed() != name || name.front() == QChar::ByteOrderMark)
        return refused(QStringLiteral("name"),
                       QStringLiteral("a name cannot begin or end with a space"));
    for (const QChar c : name) {
        if (c == u',' || c == u'\n' || c == u'\r')
            return refused(QStringLiteral("name"),
                           QStringLiteral("a catalogue line cannot hold a comma or a line break"));
    }
    return {};
}

namespace {

Result<void> checkUsable(const ModelRecord &r) {
    VISTREL_TRY(checkModelName(r.name));
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        const ModelRecord::Coefficients line = r.lens[zoom];
        if (positive(line.a) && std::isfinite(line.b))
            return {};
    }
    return refused(QStringLiteral("throw_wide"),
                   QStringLiteral("no zoom end has a lens that gives a distance"));
}

std::optional<double> judgedThrowRatio(const ModelRecord &r, Zoom zoom) {
    if (!r.hasEnd(zoom))
        return std::nullopt;
    const Result<double> ratio = throwRatioOf(r.lens[zoom], panelAspect(r), kJudgedDiagonal);
    return ratio && std::isfinite(*ratio) ? std::optional<double>(*ratio) : std::nullopt;
}

} // namespace

double sheetPanelAspect(const ProjectorSheet &sheet) {
    ModelRecord r;
    if (positive(sheet.pixelsWide) && positive(sheet.pixelsHigh)) {
        r.panelWidthPx = sheet.pixelsWide;
        r.panelHeightPx = sheet.pixelsHigh;
    }
    r.wideScreenMode = sheet.wideScreenMode.value_or(modeOfPanel(r));
    return panelAspect(r);
}

QString refusedTermOf(const AppError &error) {
    if (error.number != ErrorNumber::InvalidPropertyValue ||
        !error.description.startsWith(kRefusedPrefix))
        return {};
    const qsizetype end = error.description.indexOf(u':', kRefusedPrefix.size());
    return end < 0 ? QString()
                   : error.description.mid(kRefusedPrefix.size(), end - kRefusedPrefix.size());
}

Result<SheetRecord> recordOf(const ProjectorSheet &sheet) {
    return recordOf(sheet, {});
}

Result<SheetRecord> recordOf(const ProjectorSheet &sheet, const std::vector<FieldValue> &fields) {
    const bool ownSizes = std::any_of(fields.begin(), fields.end(), [](const FieldValue &f) {
        return f.field >= 1 && f.field <= 4;
    });
    SheetRecord out;
    VISTREL_TRY_ASSIGN(out, convert(sheet, !ownSizes));
    ModelRecord &r = out.record;
    for (const FieldValue &f : fields) {
        if (f.field == kWideScreenModeField || f.field == kModelDrawFlagField) {
            const std::optional<std::int16_t> integer = roundToInt16(f.value);
            if (!integer)
                return refused(fieldName(f.field),
                               QStringLiteral("%1 is out of range").arg(formatShortest(f.value)));
            (f.field == kWideScreenModeField ? r.wideScreenMode : r.drawFlag) = *integer;
        } else if (f.field >= kModelFieldCount && f.field < kCatalogueFieldCount) {
            const bool valid = validPlannerValue(f.field, f.value);
            plannerField(r, f.field) = valid ? f.value : 0;
            if (!valid)
                out.warnings.push_back(
                    {fieldName(f.field), QStringLiteral("%1 is no valid planner data: taken as "
                                                        "unknown")
                                             .arg(formatShortest(f.value))});
        } else if (f.field >= 1 && f.field < kModelFieldCount) {
            if (!std::isfinite(f.value))
                return refused(fieldName(f.field), QStringLiteral("not a number"));
            setNumericField(r, f.field, f.value);
        }
    }
    const bool own169 = std::any_of(fields.begin(), fields.end(), [](const FieldValue &f) {
        return f.field >= 15 && f.field <= 18;
    });
    if (!own169 && !sheet.limits169) {
        for (const Zoom zoom : {Zoom::Wide, Zoom::Tele})
            r.diagonals.sixteenNine[zoom] = derived169(r, zoom);
    }
    VISTREL_TRY(checkUsable(r));
    const std::vector<ModelWarning> more = warningsOf(r);
    out.warnings.insert(out.warnings.end(), more.begin(), more.end());
    return out;
}

ProjectorSheet sheetOf(const ModelRecord &r) {
    ProjectorSheet s;
    s.name = r.name;
    s.pixelsWide = r.panelWidthPx;
    s.pixelsHigh = r.panelHeightPx;
    s.mirrored = r.drawFlag != 0;
    if (r.wideScreenMode != modeOfPanel(r))
        s.wideScreenMode = r.wideScreenMode;
    const double panel = panelAspect(r);
    const double wholePanel = wholePanelDiagonalPerD43(panel);
    bool own169 = true;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        const ModelRecord::Coefficients line = r.lens[zoom];
        if (r.hasEnd(zoom)) {
            SheetLens lens;
            if (line.b == 0 && positive(line.a))
                lens.throwRatio = 1 / (line.a * panelWidthPerD43(panel));
            else if (const Result<LensFormula> formula = formulaOf(line))
                lens.formula = *formula;
            s.lens[zoom] = lens;
        }
        const DiagonalRange d43 = r.diagonals.fourThree[zoom];
        if (d43.min != 0 || d43.max != 0)
            s.sizes[zoom] = SheetSizes{d43.min * wholePanel, d43.max * wholePanel, std::nullopt};
        const ModelRecord::Coefficients offset = r.offsetCoefs[zoom];
        s.offset[zoom].low = offset.a * 100;
        if (offset.b != 0)
            s.offset[zoom].high = offset.b * 100;
        const DiagonalRange d169 = r.diagonals.sixteenNine[zoom];
        const DiagonalRange derived = derived169(r, zoom);
        own169 = own169 && same(d169.min, derived.min) && same(d169.max, derived.max);
    }
    if (!own169)
        s.limits169 = r.diagonals.sixteenNine;
    s.lumens = r.lumens;
    s.teleFactor = r.teleLumenFactor;
    s.contrast = r.contrastRatio;
    return s;
}

std::optional<QuotedThrow> quotedThrow(const ModelRecord &record, Zoom zoom, double diagonal) {
    if (!record.hasEnd(zoom) || !positive(diagonal))
        return std::nullopt;
    const double panel = panelAspect(record);
    const Lens lens{record, record.wideScreenMode};
    const Result<double> distance = lens.distanceFromDiagonal(diagonal, zoom, {1, panel});
    const double width = sidesOf(diagonal, panel).width;
    if (!distance || !positive(*distance) || !positive(width))
        return std::nullopt;
    return QuotedThrow{*distance, *distance / width};
}

std::vector<ModelWarning> warningsOf(const ModelRecord &r) {
    std::vector<ModelWarning> warnings;
    auto warn = [&warnings](QString term, QString text) {
        warnings.push_back({std::move(term), std::move(text)});
    };
    bool negative = false;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        const QString end = QLatin1String(info(zoom).name);
        for (const AspectGroup group : {AspectGroup::FourThree, AspectGroup::SixteenNine}) {
            if (group == AspectGroup::SixteenNine && !r.offers169())
                continue;
            const DiagonalRange range = r.diagonals.at(group, zoom);
            if (range.min > range.max)
                warn(zoomTerm("diag", zoom),
                     QStringLiteral("the smallest %1 size at %2 is above the largest")
                         .arg(group == AspectGroup::SixteenNine ? QStringLiteral("16 : 9")
                                                                : QStringLiteral("4 : 3"),
                              end));
        }
        if (const std::optional<double> ratio = judgedThrowRatio(r, zoom);
            ratio && (*ratio < 0.1 || *ratio > 10))
            warn(zoomTerm("throw", zoom),
                 QStringLiteral("a throw ratio of %1 at %2 lies outside 0.1 to 10")
                     .arg(formatFixed(*ratio, 3), end));
        const ModelRecord::Coefficients offset = r.offsetCoefs[zoom];
        for (const double c : {offset.a, offset.b}) {
            if (std::abs(c) > 2)
                warn(zoomTerm("offset", zoom),
                     QStringLiteral("an offset of %1 % of the height at %2 lies beyond 200 %")
                         .arg(formatGeneral(c * 100), end));
            negative = negative || c < 0;
        }
    }
    const std::optional<double> wide = judgedThrowRatio(r, Zoom::Wide);
    const std::optional<double> tele = judgedThrowRatio(r, Zoom::Tele);
    if (wide && tele && *tele < *wide)
        warn(QStringLiteral("throw_tele"),
             QStringLiteral("the lens is shorter at TELE (%1) than at WIDE (%2)")
                 .arg(formatFixed(*tele, 3), formatFixed(*wide, 3)));
    if (r.lumens > 100000)
        warn(QStringLiteral("lumens"),
             QStringLiteral("%1 lumens is more than 100 000").arg(formatGeneral(r.lumens)));
    if (r.hasPanelPixels()) {
        const double ratio = r.panelWidthPx / r.panelHeightPx;
        if (ratio < 1 || ratio > 4)
            warn(QStringLiteral("px"),
                 QStringLiteral("a panel of %1 : 1 lies outside 1 : 1 to 4 : 1")
                     .arg(formatFixed(ratio, 2)));
    }
    if (negative && r.drawFlag == 0)
        warn(QStringLiteral("mirror"),
             QStringLiteral("a negative offset without the mirror flag (ModelDrawFlag)"));
    if (!negative && r.drawFlag != 0)
        warn(QStringLiteral("mirror"),
             QStringLiteral("the mirror flag (ModelDrawFlag) without a negative offset"));
    return warnings;
}

QStringList describeWarnings(const std::vector<ModelRecord> &models) {
    QStringList lines;
    for (const ModelRecord &model : models) {
        for (const ModelWarning &warning : warningsOf(model))
            lines << visibleText(QStringLiteral("%1: %2").arg(model.name, warning.text));
    }
    return lines;
}

} // namespace vistrel
