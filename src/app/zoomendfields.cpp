#include "app/zoomendfields.h"

#include "app/fieldnotes.h"
#include "app/typednumbers.h"
#include "core/language.h"
#include "core/pictureformat.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace vistrel::app {

namespace {

static_assert(static_cast<int>(ZoomEndFields::Cell::SizesNote) + 1 == ZoomEndFields::kCellCount);

enum LensKind { ThrowRatioKind, FormulaKind };
enum OffsetKind { OffsetKindN, ShiftKind };

// The shapes a sheet's diagonals are given for: the panel's own first, then
// the aspect options and the other formats.
std::vector<std::optional<PictureFormat>> sheetShapes() {
    std::vector<std::optional<PictureFormat>> shapes{std::nullopt};
    for (const AspectInfo &row : kAspects)
        shapes.push_back(formatOf(row.aspect));
    for (const FormatInfo &row : kOtherFormats)
        shapes.push_back(PictureFormat{row.width, row.height});
    return shapes;
}

QString shapeText(const std::optional<PictureFormat> &shape, const LanguageTexts &texts) {
    return shape ? formatLabel(*shape) : texts.text(OptionalKey::PanelOwnShape);
}

// The shape a list shows: the panel's own (no shape), a listed one, or one a
// file gave, added to the list.
void showShape(QComboBox *list, const std::optional<PictureFormat> &shape) {
    for (int i = 0; i < list->count(); ++i) {
        const QVariant data = list->itemData(i);
        const std::optional<PictureFormat> item =
            data.isValid()
                ? std::optional(PictureFormat{data.toSizeF().width(), data.toSizeF().height()})
                : std::nullopt;
        if (item == shape) {
            list->setCurrentIndex(i);
            return;
        }
    }
    list->addItem(formatLabel(*shape), QSizeF(shape->width, shape->height));
    list->setCurrentIndex(list->count() - 1);
}

std::optional<PictureFormat> shownShape(const QComboBox *list) {
    const QVariant data = list->currentData();
    if (!data.isValid())
        return std::nullopt;
    return PictureFormat{data.toSizeF().width(), data.toSizeF().height()};
}

QWidget *row(QWidget *form, std::initializer_list<QWidget *> widgets) {
    auto *box = new QWidget(form);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : widgets) {
        w->setParent(box);
        layout->addWidget(w);
    }
    return box;
}

} // namespace

ZoomEndFields::ZoomEndFields(Zoom zoom, const LanguageTexts &texts, QChar decimalPoint,
                             QWidget *form)
    : QObject(form), zoom_(zoom), point_(decimalPoint) {
    createLens(texts, form);
    createOffset(texts, form);
    createSizes(texts, form);
    setEditable(false);
}

QString ZoomEndFields::term(const char *base) const {
    return QStringLiteral("%1_%2").arg(
        QLatin1String(base), zoom_ == Zoom::Wide ? QStringLiteral("wide") : QStringLiteral("tele"));
}

QLineEdit *ZoomEndFields::numberField(const char *name, QWidget *parent) {
    auto *field = new QLineEdit(parent);
    field->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(codeOf(zoom_)));
    connect(field, &QLineEdit::textEdited, this, &ZoomEndFields::edited);
    return field;
}

QComboBox *ZoomEndFields::shapeList(const char *name, const LanguageTexts &texts, QWidget *parent) {
    auto *list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(codeOf(zoom_)));
    for (const std::optional<PictureFormat> &shape : sheetShapes())
        list->addItem(shapeText(shape, texts),
                      shape ? QVariant(QSizeF(shape->width, shape->height)) : QVariant());
    connect(list, &QComboBox::activated, this, &ZoomEndFields::edited);
    return list;
}

void ZoomEndFields::createLens(const LanguageTexts &texts, QWidget *form) {
    const QString suffix = QString::number(codeOf(zoom_));
    lensKind_ = new QComboBox(form);
    lensKind_->setObjectName(QStringLiteral("cboLens_") + suffix);
    lensKind_->addItems(
        {texts.text(OptionalKey::SheetThrowRatio), texts.text(OptionalKey::Formula)});
    connect(lensKind_, &QComboBox::activated, this, [this] {
        showKinds();
        emit edited();
    });
    throw_ = numberField("txtThrow", form);
    describeField(throw_, texts.text(OptionalKey::ThrowHint));
    formulaA_ = numberField("txtFormulaA", form);
    formulaB_ = numberField("txtFormulaB", form);
    for (QLineEdit *f : {formulaA_, formulaB_})
        describeField(f, texts.text(OptionalKey::FormulaHint));
    auto *times = new QLabel(QStringLiteral("× D +"), form);
    formulaShape_ = shapeList("cboFormulaShape", texts, form);
    describeField(formulaShape_, texts.text(OptionalKey::FormulaHint));
    diagonalUnit_ = new QComboBox(form);
    diagonalUnit_->setObjectName(QStringLiteral("cboDiagonalUnit_") + suffix);
    distanceUnit_ = new QComboBox(form);
    distanceUnit_->setObjectName(QStringLiteral("cboDistanceUnit_") + suffix);
    for (QComboBox *list : {diagonalUnit_, distanceUnit_}) {
        for (const SheetUnitInfo &unit : kSheetUnits)
            list->addItem(QLatin1String(unit.name));
        describeField(list, texts.text(OptionalKey::FormulaHint));
        connect(list, &QComboBox::activated, this, &ZoomEndFields::edited);
    }
    auto *slash = new QLabel(QStringLiteral("/"), form);
    cells_[int(Cell::LensKind)] = lensKind_;
    cells_[int(Cell::Throw)] = throw_;
    cells_[int(Cell::Formula)] = row(form, {formulaA_, times, formulaB_});
    cells_[int(Cell::FormulaShape)] = formulaShape_;
    cells_[int(Cell::FormulaUnits)] = row(form, {diagonalUnit_, slash, distanceUnit_});
    cells_[int(Cell::LensNote)] = noteLabel(QStringLiteral("lblLensNote_") + suffix, form);
}

void ZoomEndFields::createOffset(const LanguageTexts &texts, QWidget *form) {
    offsetKind_ = new QComboBox(form);
    offsetKind_->setObjectName(QStringLiteral("cboOffset_%1").arg(codeOf(zoom_)));
    offsetKind_->addItems({texts.text(OptionalKey::OffsetN), texts.text(OptionalKey::LensShift)});
    connect(offsetKind_, &QComboBox::activated, this, [this] {
        showKinds();
        emit edited();
    });
    offset_ = numberField("txtOffset", form);
    describeField(offset_, texts.text(OptionalKey::OffsetHint));
    shiftLow_ = numberField("txtShiftLow", form);
    shiftHigh_ = numberField("txtShiftHigh", form);
    for (QLineEdit *f : {shiftLow_, shiftHigh_})
        describeField(f, texts.text(OptionalKey::ShiftHint));
    auto *to = new QLabel(QStringLiteral("…"), form);
    cells_[int(Cell::OffsetKind)] = offsetKind_;
    cells_[int(Cell::Offset)] = offset_;
    cells_[int(Cell::Shift)] = row(form, {shiftLow_, to, shiftHigh_});
    cells_[int(Cell::OffsetNote)] =
        noteLabel(QStringLiteral("lblOffsetNote_%1").arg(codeOf(zoom_)), form);
}

void ZoomEndFields::createSizes(const LanguageTexts &texts, QWidget *form) {
    sizeMin_ = numberField("txtSizeMin", form);
    sizeMax_ = numberField("txtSizeMax", form);
    for (QLineEdit *f : {sizeMin_, sizeMax_})
        describeField(f, texts.text(OptionalKey::SizesHint));
    auto *to = new QLabel(QStringLiteral("–"), form);
    sizesShape_ = shapeList("cboSizesShape", texts, form);
    describeField(sizesShape_, texts.text(OptionalKey::SizesHint));
    cells_[int(Cell::Sizes)] = row(form, {sizeMin_, to, sizeMax_});
    cells_[int(Cell::SizesShape)] = sizesShape_;
    cells_[int(Cell::SizesNote)] =
        noteLabel(QStringLiteral("lblSizesNote_%1").arg(codeOf(zoom_)), form);
}

QLabel *ZoomEndFields::note(Cell which) const {
    return qobject_cast<QLabel *>(cell(which));
}

void ZoomEndFields::show(const ProjectorSheet &sheet) {
    const std::optional<SheetLens> &lens = sheet.lens[zoom_];
    const std::optional<LensFormula> formula = lens ? lens->formula : std::nullopt;
    lensKind_->setCurrentIndex(formula ? FormulaKind : ThrowRatioKind);
    throw_->setText(lens && lens->throwRatio ? fieldNumber(*lens->throwRatio, point_) : QString());
    formulaA_->setText(formula ? fieldNumber(formula->a, point_) : QString());
    formulaB_->setText(formula ? fieldNumber(formula->b, point_) : QString());
    showShape(formulaShape_, formula ? std::optional(formula->shape) : std::nullopt);
    diagonalUnit_->setCurrentIndex(formula ? int(formula->diagonalUnit) : 0);
    distanceUnit_->setCurrentIndex(formula ? int(formula->distanceUnit) : 0);

    const SheetOffset &offset = sheet.offset[zoom_];
    offsetKind_->setCurrentIndex(offset.high ? ShiftKind : OffsetKindN);
    offset_->setText(offset.high ? QString()
                                 : fieldNumber(offsetPercentOf(offset.low / 100), point_));
    shiftLow_->setText(offset.high ? fieldNumber(offset.low, point_) : QString());
    shiftHigh_->setText(offset.high ? fieldNumber(*offset.high, point_) : QString());

    const std::optional<SheetSizes> &sizes = sheet.sizes[zoom_];
    sizeMin_->setText(sizes ? fieldNumber(sizes->min, point_) : QString());
    sizeMax_->setText(sizes ? fieldNumber(sizes->max, point_) : QString());
    showShape(sizesShape_, sizes ? sizes->shape : std::nullopt);
    showKinds();
}

void ZoomEndFields::readInto(ProjectorSheet &sheet, QStringList &unreadable) const {
    if (!inUse_) {
        sheet.lens[zoom_].reset();
        sheet.sizes[zoom_].reset();
        sheet.offset[zoom_] = {};
        return;
    }
    const auto read = [&](const QLineEdit *field, const QString &term) {
        const TypedNumber number = typedNumber(field, point_);
        if (number.unreadable && !unreadable.contains(term))
            unreadable << term;
        return number;
    };
    SheetLens lens;
    if (lensKind_->currentIndex() == FormulaKind) {
        LensFormula formula;
        formula.a = read(formulaA_, term("formula")).valueOr(0);
        formula.b = read(formulaB_, term("formula")).valueOr(0);
        formula.shape =
            shownShape(formulaShape_).value_or(PictureFormat{sheetPanelAspect(sheet), 1});
        formula.diagonalUnit = kSheetUnits[std::size_t(diagonalUnit_->currentIndex())].unit;
        formula.distanceUnit = kSheetUnits[std::size_t(distanceUnit_->currentIndex())].unit;
        lens.formula = formula;
    } else {
        lens.throwRatio = read(throw_, term("throw")).valueOr(0);
    }
    sheet.lens[zoom_] = lens;

    if (offsetKind_->currentIndex() == ShiftKind)
        sheet.offset[zoom_] = {read(shiftLow_, term("offset")).valueOr(0),
                               read(shiftHigh_, term("offset")).valueOr(0)};
    else
        sheet.offset[zoom_] = {read(offset_, term("offset")).valueOr(100) - 100, std::nullopt};

    const TypedNumber min = read(sizeMin_, term("diag"));
    const TypedNumber max = read(sizeMax_, term("diag"));
    if (min.value || max.value)
        sheet.sizes[zoom_] = SheetSizes{min.valueOr(0), max.valueOr(0), shownShape(sizesShape_)};
    else
        sheet.sizes[zoom_].reset();
}

void ZoomEndFields::setEditable(bool editable) {
    editable_ = editable;
    showKinds();
}

void ZoomEndFields::setInUse(bool inUse) {
    inUse_ = inUse;
    showKinds();
}

void ZoomEndFields::showKinds() {
    const bool formula = lensKind_->currentIndex() == FormulaKind;
    const bool shift = offsetKind_->currentIndex() == ShiftKind;
    const auto fieldInUse = [this](QLineEdit *field, bool used) {
        field->setEnabled(inUse_ && used);
        field->setReadOnly(!editable_);
    };
    fieldInUse(throw_, !formula);
    for (QLineEdit *f : {formulaA_, formulaB_})
        fieldInUse(f, formula);
    fieldInUse(offset_, !shift);
    for (QLineEdit *f : {shiftLow_, shiftHigh_})
        fieldInUse(f, shift);
    for (QLineEdit *f : {sizeMin_, sizeMax_})
        fieldInUse(f, true);
    for (QComboBox *list : {formulaShape_, diagonalUnit_, distanceUnit_})
        list->setEnabled(inUse_ && editable_ && formula);
    for (QComboBox *list : {lensKind_, offsetKind_, sizesShape_})
        list->setEnabled(inUse_ && editable_);
}

} // namespace vistrel::app
