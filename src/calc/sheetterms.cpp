#include "calc/sheetterms.h"

#include "calc/pictureonpanel.h"
#include "core/numbers.h"

#include <cmath>

namespace vistrel {

namespace {

QString normalKey(QStringView key) {
    return key.trimmed().toString().toLower().replace(u'-', u'_');
}

AppError unreadable(const QString &key, QStringView value, const QString &expected) {
    return makeError(
        ErrorNumber::InvalidPropertyValue,
        QStringLiteral("Invalid property value: %1=%2: %3").arg(key, value.toString(), expected));
}

Result<double> numberOf(const QString &key, QStringView value, QStringView suffix = {}) {
    QStringView text = value.trimmed();
    if (!suffix.isEmpty() && text.endsWith(suffix))
        text.chop(suffix.size());
    const std::optional<double> number = parseNumber(text);
    if (!number)
        return unreadable(key, value, QStringLiteral("not a number"));
    return *number;
}

// "1.36-2.18", "-10--5" or "1.5": a minus after a digit, point or "%" ends
// the first number.
Result<std::pair<double, std::optional<double>>> rangeOf(const QString &key, QStringView value,
                                                         QStringView suffix = {}) {
    const QStringView text = value.trimmed();
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar before = text[i - 1];
        if (text[i] == u'-' && (before.isDigit() || before == u'.' || before == u'%')) {
            double low = 0;
            double high = 0;
            VISTREL_TRY_ASSIGN(low, numberOf(key, text.first(i), suffix));
            VISTREL_TRY_ASSIGN(high, numberOf(key, text.sliced(i + 1), suffix));
            return std::pair<double, std::optional<double>>{low, high};
        }
    }
    double single = 0;
    VISTREL_TRY_ASSIGN(single, numberOf(key, text, suffix));
    return std::pair<double, std::optional<double>>{single, std::nullopt};
}

Result<SheetUnit> unitOf(const QString &key, QStringView value) {
    const QString name = value.trimmed().toString().toLower();
    for (const SheetUnitInfo &unit : kSheetUnits) {
        if (name == QLatin1String(unit.name))
            return unit.unit;
    }
    return unreadable(key, value, QStringLiteral("a unit of in, ft, cm, m or mm"));
}

Result<bool> flagOf(const QString &key, QStringView value) {
    const QString text = value.trimmed().toString().toLower();
    if (text == u"yes" || text == u"true" || text == u"1")
        return true;
    if (text == u"no" || text == u"false" || text == u"0")
        return false;
    return unreadable(key, value, QStringLiteral("yes or no"));
}

QString zoomKey(const char *term, Zoom zoom) {
    return QLatin1String(term) +
           (zoom == Zoom::Wide ? QStringLiteral("_wide") : QStringLiteral("_tele"));
}

// A sheet term's number: 15 significant digits, so that what the
// conversion back left in the last bits (2.1800000000000006) reads as the
// sheet printed it; within 1e-15 of the model, and exact for one made from
// a sheet, whose terms convert to the same fields again.
QString termNumber(double value) {
    return formatGeneral(value);
}

QString range(double low, std::optional<double> high) {
    return high ? termNumber(low) + u'-' + termNumber(*high) : termNumber(low);
}

// What the terms say before they become a sheet: a formula needs its
// shape and units, which may come after it.
struct Reading {
    ProjectorSheet sheet;
    PerZoom<std::optional<std::pair<double, double>>> formulas;
    std::optional<PictureFormat> formulaShape;
    SheetUnit diagonalUnit = SheetUnit::Inch;
    SheetUnit distanceUnit = SheetUnit::Inch;
    std::optional<PictureFormat> sizeShape;
    std::optional<double> minDiag, maxDiag;
    bool sizesAtBothEnds = false; // `diag`: a fixed lens has no TELE to limit
    std::vector<FieldValue> fields;
};

Result<void> setSizes(Reading &r, const QString &key, QStringView value,
                      std::initializer_list<Zoom> zooms) {
    std::pair<double, std::optional<double>> sizes;
    VISTREL_TRY_ASSIGN(sizes, rangeOf(key, value));
    if (!sizes.second)
        return unreadable(key, value, QStringLiteral("the smallest and largest size, as 40-300"));
    for (const Zoom zoom : zooms)
        r.sheet.sizes[zoom] = SheetSizes{sizes.first, *sizes.second, std::nullopt};
    return {};
}

Result<void> setOffset(Reading &r, const QString &key, QStringView value, bool shift,
                       std::initializer_list<Zoom> zooms) {
    std::pair<double, std::optional<double>> range;
    VISTREL_TRY_ASSIGN(range, rangeOf(key, value, u"%"));
    for (const Zoom zoom : zooms) {
        if (shift)
            r.sheet.offset[zoom] = {range.first, range.second};
        else if (range.second)
            return unreadable(key, value, QStringLiteral("one percentage; a range is a shift"));
        else
            r.sheet.offset[zoom] = {range.first - 100, std::nullopt};
    }
    return {};
}

Result<void> setThrow(Reading &r, const QString &key, QStringView value, std::optional<Zoom> zoom) {
    std::pair<double, std::optional<double>> ratios;
    VISTREL_TRY_ASSIGN(ratios, rangeOf(key, value));
    if (zoom) {
        if (ratios.second)
            return unreadable(key, value, QStringLiteral("one throw ratio"));
        r.sheet.lens[*zoom] = SheetLens{ratios.first, std::nullopt};
        return {};
    }
    r.sheet.lens[Zoom::Wide] = SheetLens{ratios.first, std::nullopt};
    if (ratios.second)
        r.sheet.lens[Zoom::Tele] = SheetLens{*ratios.second, std::nullopt};
    return {};
}

Result<void> setPixels(Reading &r, const QString &key, QStringView value) {
    const QString text =
        value.trimmed().toString().toLower().replace(u'×', u'x').replace(u'*', u'x');
    const qsizetype x = text.indexOf(u'x');
    if (x < 0)
        return unreadable(key, value, QStringLiteral("width x height, as 1920x1080"));
    VISTREL_TRY_ASSIGN(r.sheet.pixelsWide, numberOf(key, QStringView(text).first(x)));
    VISTREL_TRY_ASSIGN(r.sheet.pixelsHigh, numberOf(key, QStringView(text).sliced(x + 1)));
    return {};
}

Result<void> setDiagonal169(Reading &r, const QString &key, QStringView value, Zoom zoom) {
    std::pair<double, std::optional<double>> sizes;
    VISTREL_TRY_ASSIGN(sizes, rangeOf(key, value));
    if (!r.sheet.limits169)
        r.sheet.limits169 = PerZoom<DiagonalRange>{};
    (*r.sheet.limits169)[zoom] = {sizes.first, sizes.second.value_or(sizes.first)};
    return {};
}

// The catalogue field of that name, by its position.
std::optional<int> catalogueField(const QString &key) {
    for (int f = 0; f < kCatalogueFieldCount; ++f) {
        if (normalKey(fieldName(f)) == key)
            return f;
    }
    return std::nullopt;
}

Result<void> readTerm(Reading &r, const QString &key, QStringView value) {
    ProjectorSheet &s = r.sheet;
    if (key == u"name" || key == u"model" || key == u"modelname") {
        s.name = value.trimmed().toString();
    } else if (key == u"px") {
        VISTREL_TRY(setPixels(r, key, value));
    } else if (key == u"px_w") {
        VISTREL_TRY_ASSIGN(s.pixelsWide, numberOf(key, value));
    } else if (key == u"px_h") {
        VISTREL_TRY_ASSIGN(s.pixelsHigh, numberOf(key, value));
    } else if (key == u"throw") {
        VISTREL_TRY(setThrow(r, key, value, std::nullopt));
    } else if (key == u"throw_wide" || key == u"throw_tele") {
        VISTREL_TRY(setThrow(r, key, value, key.endsWith(u"wide") ? Zoom::Wide : Zoom::Tele));
    } else if (key == u"wide_formula" || key == u"tele_formula") {
        std::pair<double, double> formula;
        VISTREL_TRY_ASSIGN(formula, parseFormula(value));
        r.formulas[key.startsWith(u"wide") ? Zoom::Wide : Zoom::Tele] = formula;
    } else if (key == u"formula_shape" || key == u"diag_shape") {
        Result<PictureFormat> shape = parseFormat(value.trimmed());
        if (!shape)
            return unreadable(key, value, shape.error().description);
        (key == u"formula_shape" ? r.formulaShape : r.sizeShape) = *shape;
    } else if (key == u"formula_units") {
        const qsizetype slash = value.indexOf(u'/');
        VISTREL_TRY_ASSIGN(r.diagonalUnit, unitOf(key, slash < 0 ? value : value.first(slash)));
        VISTREL_TRY_ASSIGN(r.distanceUnit,
                           unitOf(key, slash < 0 ? value : value.sliced(slash + 1)));
    } else if (key == u"offset" || key == u"offset_pct") {
        VISTREL_TRY(setOffset(r, key, value, false, {Zoom::Wide, Zoom::Tele}));
    } else if (key == u"offset_wide" || key == u"offset_tele") {
        VISTREL_TRY(
            setOffset(r, key, value, false, {key.endsWith(u"wide") ? Zoom::Wide : Zoom::Tele}));
    } else if (key == u"shift") {
        VISTREL_TRY(setOffset(r, key, value, true, {Zoom::Wide, Zoom::Tele}));
    } else if (key == u"shift_wide" || key == u"shift_tele") {
        VISTREL_TRY(
            setOffset(r, key, value, true, {key.endsWith(u"wide") ? Zoom::Wide : Zoom::Tele}));
    } else if (key == u"diag") {
        VISTREL_TRY(setSizes(r, key, value, {Zoom::Wide, Zoom::Tele}));
        r.sizesAtBothEnds = true;
    } else if (key == u"diag_wide" || key == u"diag_tele") {
        VISTREL_TRY(setSizes(r, key, value, {key.endsWith(u"wide") ? Zoom::Wide : Zoom::Tele}));
    } else if (key == u"min_diag" || key == u"max_diag") {
        double size = 0;
        VISTREL_TRY_ASSIGN(size, numberOf(key, value));
        (key == u"min_diag" ? r.minDiag : r.maxDiag) = size;
        r.sizesAtBothEnds = true;
    } else if (key == u"diag169_wide" || key == u"diag169_tele") {
        VISTREL_TRY(setDiagonal169(r, key, value, key.endsWith(u"wide") ? Zoom::Wide : Zoom::Tele));
    } else if (key == u"screen_mode") {
        double mode = 0;
        VISTREL_TRY_ASSIGN(mode, numberOf(key, value));
        const std::optional<std::int16_t> integer = roundToInt16(mode);
        if (!integer)
            return unreadable(key, value, QStringLiteral("out of range"));
        s.wideScreenMode = *integer;
    } else if (key == u"lumens") {
        VISTREL_TRY_ASSIGN(s.lumens, numberOf(key, value));
    } else if (key == u"tele_factor") {
        VISTREL_TRY_ASSIGN(s.teleFactor, numberOf(key, value));
    } else if (key == u"tele_lumens") {
        VISTREL_TRY_ASSIGN(s.teleLumens, numberOf(key, value));
    } else if (key == u"contrast") {
        VISTREL_TRY_ASSIGN(s.contrast, numberOf(key, value, u":1"));
    } else if (key == u"mirror") {
        VISTREL_TRY_ASSIGN(s.mirrored, flagOf(key, value));
    } else if (const std::optional<int> field = catalogueField(key)) {
        if (*field == 0) {
            s.name = value.trimmed().toString();
        } else {
            double number = 0;
            VISTREL_TRY_ASSIGN(number, numberOf(key, value));
            r.fields.push_back({*field, number});
        }
    } else {
        return makeError(ErrorNumber::InvalidPropertyValue,
                         QStringLiteral("Invalid property value: \"%1\" is no term Vistrel "
                                        "knows")
                             .arg(key));
    }
    return {};
}

// What comes into effect only once every term is read.
Result<void> finish(Reading &r) {
    ProjectorSheet &s = r.sheet;
    const double panel = sheetPanelAspect(s);
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (const auto &formula = r.formulas[zoom]) {
            LensFormula lens{formula->first, formula->second,
                             r.formulaShape.value_or(PictureFormat{panel, 1}), r.diagonalUnit,
                             r.distanceUnit};
            s.lens[zoom] = SheetLens{std::nullopt, lens};
        }
        if (r.minDiag || r.maxDiag) {
            if (!r.minDiag || !r.maxDiag)
                return unreadable(r.minDiag ? QStringLiteral("max_diag")
                                            : QStringLiteral("min_diag"),
                                  u"", QStringLiteral("min_diag and max_diag go together"));
            s.sizes[zoom] = SheetSizes{*r.minDiag, *r.maxDiag, std::nullopt};
        }
        if (r.sizesAtBothEnds && !s.lens[zoom])
            s.sizes[zoom].reset();
        if (s.sizes[zoom] && r.sizeShape)
            s.sizes[zoom]->shape = r.sizeShape;
    }
    return {};
}

} // namespace

QStringList sheetTermKeys() {
    return {QStringLiteral("name"),          QStringLiteral("px"),
            QStringLiteral("throw_wide"),    QStringLiteral("throw_tele"),
            QStringLiteral("wide_formula"),  QStringLiteral("tele_formula"),
            QStringLiteral("formula_shape"), QStringLiteral("formula_units"),
            QStringLiteral("offset_wide"),   QStringLiteral("offset_tele"),
            QStringLiteral("shift_wide"),    QStringLiteral("shift_tele"),
            QStringLiteral("diag_wide"),     QStringLiteral("diag_tele"),
            QStringLiteral("lumens"),        QStringLiteral("tele_factor"),
            QStringLiteral("contrast"),      QStringLiteral("mirror"),
            QStringLiteral("screen_mode"),   QStringLiteral("diag169_wide"),
            QStringLiteral("diag169_tele")};
}

QStringList catalogueTermKeys() {
    QStringList keys;
    for (int f = 0; f < kCatalogueFieldCount; ++f)
        keys << fieldName(f);
    return keys;
}

Terms sheetTermsOf(const ModelRecord &record) {
    const ProjectorSheet s = sheetOf(record);
    Terms terms;
    auto add = [&terms](const QString &key, const QString &value) { terms.append({key, value}); };
    add(QStringLiteral("name"), s.name);
    if (s.pixelsWide > 0 && s.pixelsHigh > 0)
        add(QStringLiteral("px"), termNumber(s.pixelsWide) + u'x' + termNumber(s.pixelsHigh));
    bool formulas = false;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (!s.lens[zoom])
            continue;
        if (s.lens[zoom]->throwRatio)
            add(zoomKey("throw", zoom), termNumber(*s.lens[zoom]->throwRatio));
        if (const auto &formula = s.lens[zoom]->formula) {
            add(QLatin1String(zoom == Zoom::Wide ? "wide_formula" : "tele_formula"),
                formulaText(formula->a, formula->b));
            formulas = true;
        }
    }
    if (formulas) {
        // sheetOf writes a formula of the 4 : 3 diagonal in inches.
        add(QStringLiteral("formula_shape"), QStringLiteral("4:3"));
        add(QStringLiteral("formula_units"), QStringLiteral("in/in"));
    }
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        const SheetOffset &offset = s.offset[zoom];
        if (offset.high)
            add(zoomKey("shift", zoom), range(offset.low, offset.high));
        else
            add(zoomKey("offset", zoom), termNumber(offset.low + 100) + u'%');
    }
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        if (const auto &sizes = s.sizes[zoom])
            add(zoomKey("diag", zoom), range(sizes->min, sizes->max));
    }
    if (s.lumens > 0)
        add(QStringLiteral("lumens"), termNumber(s.lumens));
    if (s.teleFactor > 0)
        add(QStringLiteral("tele_factor"), termNumber(s.teleFactor));
    if (s.contrast > 0)
        add(QStringLiteral("contrast"), termNumber(s.contrast));
    add(QStringLiteral("mirror"), s.mirrored ? QStringLiteral("yes") : QStringLiteral("no"));
    if (s.wideScreenMode)
        add(QStringLiteral("screen_mode"), QString::number(*s.wideScreenMode));
    if (s.limits169) {
        for (const Zoom zoom : {Zoom::Wide, Zoom::Tele})
            add(zoomKey("diag169", zoom),
                range((*s.limits169)[zoom].min, (*s.limits169)[zoom].max));
    }
    return terms;
}

Terms catalogueTermsOf(const ModelRecord &record) {
    Terms terms;
    terms.append({fieldName(0), record.name});
    for (int f = 1; f < kModelFieldCount; ++f)
        terms.append({fieldName(f), formatShortest(numericField(record, f))});
    ModelRecord copy = record;
    for (int f = kModelFieldCount; f < kCatalogueFieldCount; ++f) {
        const double value = plannerField(copy, f);
        terms.append({fieldName(f), value > 0 ? formatShortest(value) : QString()});
    }
    return terms;
}

Result<SheetRecord> recordFromTerms(const Terms &terms) {
    Reading reading;
    for (const auto &[key, value] : terms) {
        if (value.trimmed().isEmpty())
            continue;
        VISTREL_TRY(readTerm(reading, normalKey(key), value));
    }
    VISTREL_TRY(finish(reading));
    return recordOf(reading.sheet, reading.fields);
}

Result<Terms> parseTerms(QStringView text) {
    Terms terms;
    for (const QStringView item : text.split(u',')) {
        if (item.trimmed().isEmpty())
            continue;
        const qsizetype equals = item.indexOf(u'=');
        if (equals <= 0)
            return makeError(ErrorNumber::InvalidArgument,
                             QStringLiteral("Invalid argument: \"%1\" is no KEY=VALUE pair")
                                 .arg(item.trimmed().toString()));
        terms.append({item.first(equals).trimmed().toString(),
                      item.sliced(equals + 1).trimmed().toString()});
    }
    return terms;
}

Result<std::pair<double, std::optional<double>>> parseRange(QStringView text) {
    return rangeOf(QStringLiteral("range"), text);
}

Result<std::pair<double, double>> parseFormula(QStringView text) {
    QString compact;
    for (const QChar c : text) {
        if (!c.isSpace())
            compact += c == u'×' ? u'*' : c;
    }
    const qsizetype d = compact.indexOf(u'D', 0, Qt::CaseInsensitive);
    const auto bad = [&text]() {
        return makeError(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Invalid argument: \"%1\" is no formula A*D+B").arg(text.toString()));
    };
    if (d < 0)
        return bad();
    QStringView slope = QStringView(compact).first(d);
    if (slope.endsWith(u'*') || slope.endsWith(u'x'))
        slope.chop(1);
    const std::optional<double> a = slope.isEmpty() ? std::optional<double>(1) : parseNumber(slope);
    const QStringView rest = QStringView(compact).sliced(d + 1);
    const std::optional<double> b = rest.isEmpty()          ? std::optional<double>(0)
                                    : rest.startsWith(u'+') ? parseNumber(rest.sliced(1))
                                    : rest.startsWith(u'-') ? parseNumber(rest)
                                                            : std::nullopt;
    if (!a || !b)
        return bad();
    return std::pair<double, double>{*a, *b};
}

QString formulaText(double a, double b) {
    const QString intercept = b == 0 ? QString() : b < 0 ? termNumber(b) : u'+' + termNumber(b);
    return termNumber(a) + QStringLiteral("*D") + intercept;
}

} // namespace vistrel
