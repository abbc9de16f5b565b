#include "app/projectorform.h"

#include "app/fieldnotes.h"
#include "app/typednumbers.h"
#include "app/zoomendfields.h"
#include "core/language.h"
#include "core/pictureformat.h"
#include "session/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <optional>

namespace vistrel::app {

namespace {

// The form's columns: captions, the fields (of WIDE, then TELE), units.
constexpr int kCaptionColumn = 0;
constexpr int kWideColumn = 1;
constexpr int kTeleColumn = 2;
constexpr int kUnitColumn = 3;

enum TeleLightKind { FactorKind, LumensKind };

using Cell = ZoomEndFields::Cell;

QString zoomCaption(const LanguageTexts &texts, Zoom zoom) {
    return withoutMnemonic(texts.text(info(zoom).caption)).simplified();
}

// What the hint line says of a field: its own description, or that of the
// group it lies in.
QString hintOf(const QWidget *focused, const QWidget *form) {
    for (const QWidget *w = focused; w && w != form; w = w->parentWidget())
        if (!w->accessibleDescription().isEmpty())
            return w->accessibleDescription();
    return {};
}

// The fields Tab stops at within a cell, in their order.
QList<QWidget *> stops(QWidget *cell) {
    if (cell->focusPolicy() & Qt::TabFocus)
        return {cell};
    QList<QWidget *> found;
    for (QObject *child : cell->children())
        if (auto *w = qobject_cast<QWidget *>(child); w && (w->focusPolicy() & Qt::TabFocus))
            found << w;
    return found;
}

} // namespace

ProjectorForm::ProjectorForm(const Session &session, QWidget *parent)
    : QWidget(parent), session_(session), point_(session.decimalPoint()), checked_(SheetRecord{}) {
    setObjectName(QStringLiteral("frmProjectorForm"));
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(kWideColumn, 1);
    grid->setColumnStretch(kTeleColumn, 1);
    int row = 0;
    createGeneral(grid, row);
    createEnds(grid, row);
    createLight(grid, row);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("lblHint"));
    hint_->setWordWrap(true);
    grid->addWidget(hint_, row++, kCaptionColumn, 1, 4);
    grid->setRowStretch(row, 1);
    orderTabs(grid);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { showHintOf(now); });
    showSheet({}, false);
}

// The focus moves as the window goes, after the form has.
ProjectorForm::~ProjectorForm() {
    disconnect(qApp, nullptr, this, nullptr);
}

QLineEdit *ProjectorForm::field(const char *name, OptionalKey hint) {
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    describeField(edit, session_.texts().text(hint));
    connect(edit, &QLineEdit::textEdited, this, &ProjectorForm::check);
    return edit;
}

QLabel *ProjectorForm::caption(OptionalKey key, QWidget *buddy) {
    auto *label = new QLabel(session_.texts().text(key), this);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

// Under a row, for what the engine says of its terms.
QLabel *ProjectorForm::addNote(QGridLayout *grid, int &row, const char *name,
                               std::initializer_list<const char *> terms) {
    QLabel *note = noteLabel(QLatin1String(name), this);
    grid->addWidget(note, row++, kWideColumn, 1, 3);
    for (const char *term : terms)
        notes_.emplace_back(QLatin1String(term), note);
    return note;
}

void ProjectorForm::createGeneral(QGridLayout *grid, int &row) {
    const LanguageTexts &texts = session_.texts();
    name_ = field("txtName", OptionalKey::NameHint);
    grid->addWidget(caption(OptionalKey::NameCaption, name_), row, kCaptionColumn);
    grid->addWidget(name_, row++, kWideColumn, 1, 2);
    addNote(grid, row, "lblNameNote", {"name"});

    pixelsWide_ = field("txtPixelsWide", OptionalKey::ResolutionHint);
    pixelsHigh_ = field("txtPixelsHigh", OptionalKey::ResolutionHint);
    auto *pixels = new QWidget(this);
    auto *line = new QHBoxLayout(pixels);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(pixelsWide_);
    line->addWidget(new QLabel(QStringLiteral("×"), pixels));
    line->addWidget(pixelsHigh_);
    pixelsWide_->setParent(pixels);
    pixelsHigh_->setParent(pixels);
    panelShape_ = new QLabel(this);
    panelShape_->setObjectName(QStringLiteral("lblPanelShape"));
    grid->addWidget(caption(OptionalKey::Resolution, pixelsWide_), row, kCaptionColumn);
    grid->addWidget(pixels, row, kWideColumn, 1, 2);
    auto *unit = new QLabel(texts.text(OptionalKey::Pixels), this);
    auto *shape = new QWidget(this);
    auto *shapeLine = new QHBoxLayout(shape);
    shapeLine->setContentsMargins(0, 0, 0, 0);
    unit->setParent(shape);
    panelShape_->setParent(shape);
    shapeLine->addWidget(unit);
    shapeLine->addWidget(panelShape_);
    grid->addWidget(shape, row++, kUnitColumn);
    addNote(grid, row, "lblPixelsNote", {"px", "PanelWidthPx", "PanelHeightPx"});

    fixedLens_ = new QCheckBox(texts.text(OptionalKey::FixedLens), this);
    fixedLens_->setObjectName(QStringLiteral("chkFixedLens"));
    connect(fixedLens_, &QCheckBox::clicked, this, [this](bool fixed) {
        ends_[Zoom::Tele]->setInUse(!fixed);
        check();
    });
    grid->addWidget(fixedLens_, row++, kWideColumn, 1, 3);
}

void ProjectorForm::createEnds(QGridLayout *grid, int &row) {
    const LanguageTexts &texts = session_.texts();
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        ends_[zoom] = new ZoomEndFields(zoom, texts, point_, this);
        connect(ends_[zoom], &ZoomEndFields::edited, this, &ProjectorForm::check);
        auto *heading = new QLabel(zoomCaption(texts, zoom), this);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->addWidget(heading, row, zoom == Zoom::Wide ? kWideColumn : kTeleColumn);
    }
    ++row;
    // A row of both ends' cells: with a caption and a unit, or a note.
    struct Line {
        Cell cell;
        std::optional<OptionalKey> caption;
        const char *unit;
    };
    static constexpr std::array<Line, ZoomEndFields::kCellCount> kLines{{
        {Cell::LensKind, OptionalKey::LensGiven, ""},
        {Cell::Throw, OptionalKey::SheetThrowRatio, ""},
        {Cell::Formula, OptionalKey::FormulaCaption, ""},
        {Cell::FormulaShape, OptionalKey::FormulaShape, ""},
        {Cell::FormulaUnits, OptionalKey::FormulaUnits, ""},
        {Cell::LensNote, std::nullopt, ""},
        {Cell::OffsetKind, OptionalKey::OffsetGiven, ""},
        {Cell::Offset, OptionalKey::OffsetN, "%"},
        {Cell::Shift, OptionalKey::LensShift, "%"},
        {Cell::OffsetNote, std::nullopt, ""},
        {Cell::Sizes, OptionalKey::ScreenSizes, "in"},
        {Cell::SizesShape, OptionalKey::SizesOf, ""},
        {Cell::SizesNote, std::nullopt, ""},
    }};
    for (const Line &line : kLines) {
        if (line.caption)
            grid->addWidget(
                caption(*line.caption, stops(ends_[Zoom::Wide]->cell(line.cell)).value(0)), row,
                kCaptionColumn);
        for (const Zoom zoom : {Zoom::Wide, Zoom::Tele})
            grid->addWidget(ends_[zoom]->cell(line.cell), row,
                            zoom == Zoom::Wide ? kWideColumn : kTeleColumn);
        if (*line.unit)
            grid->addWidget(new QLabel(QLatin1String(line.unit), this), row, kUnitColumn);
        ++row;
        if (line.cell == Cell::OffsetNote) {
            auto *ceiling = new QLabel(texts.text(OptionalKey::CeilingNote), this);
            ceiling->setObjectName(QStringLiteral("lblCeilingNote"));
            ceiling->setWordWrap(true);
            grid->addWidget(ceiling, row++, kWideColumn, 1, 3);
        }
    }
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        const QString end = zoom == Zoom::Wide ? QStringLiteral("_wide") : QStringLiteral("_tele");
        for (const auto &[term, cell] :
             {std::pair{"throw", Cell::LensNote}, std::pair{"formula", Cell::LensNote},
              std::pair{"offset", Cell::OffsetNote}, std::pair{"shift", Cell::OffsetNote},
              std::pair{"diag", Cell::SizesNote}})
            notes_.emplace_back(QLatin1String(term) + end, ends_[zoom]->note(cell));
    }
    // Sizes the sheet leaves out are taken for both ends alike.
    notes_.emplace_back(QStringLiteral("diag"), ends_[Zoom::Wide]->note(Cell::SizesNote));
}

void ProjectorForm::createLight(QGridLayout *grid, int &row) {
    const LanguageTexts &texts = session_.texts();
    lumens_ = field("txtLumens", OptionalKey::LumensHint);
    grid->addWidget(caption(OptionalKey::Lumens, lumens_), row, kCaptionColumn);
    grid->addWidget(lumens_, row, kWideColumn);
    grid->addWidget(new QLabel(QStringLiteral("lm"), this), row++, kUnitColumn);
    addNote(grid, row, "lblLumensNote", {"lumens"});

    teleLightKind_ = new QComboBox(this);
    teleLightKind_->setObjectName(QStringLiteral("cboTeleLight"));
    teleLightKind_->addItems(
        {texts.text(OptionalKey::AsFactor), texts.text(OptionalKey::AsLumens)});
    describeField(teleLightKind_, texts.text(OptionalKey::TeleLightHint));
    connect(teleLightKind_, &QComboBox::activated, this, &ProjectorForm::check);
    teleLight_ = field("txtTeleLight", OptionalKey::TeleLightHint);
    grid->addWidget(caption(OptionalKey::TeleLight, teleLightKind_), row, kCaptionColumn);
    grid->addWidget(teleLightKind_, row, kWideColumn);
    grid->addWidget(teleLight_, row++, kTeleColumn);
    addNote(grid, row, "lblTeleLightNote", {"tele_factor", "tele_lumens", "TeleLumenFactor"});

    contrast_ = field("txtContrast", OptionalKey::ContrastHint);
    grid->addWidget(caption(OptionalKey::NativeContrast, contrast_), row, kCaptionColumn);
    grid->addWidget(contrast_, row, kWideColumn);
    grid->addWidget(new QLabel(QStringLiteral(": 1"), this), row++, kUnitColumn);
    addNote(grid, row, "lblContrastNote", {"contrast", "ContrastRatio"});

    mirrored_ = new QCheckBox(texts.text(OptionalKey::Mirrored), this);
    mirrored_->setObjectName(QStringLiteral("chkMirrored"));
    describeField(mirrored_, texts.text(OptionalKey::MirrorHint));
    connect(mirrored_, &QCheckBox::clicked, this, &ProjectorForm::check);
    grid->addWidget(mirrored_, row++, kWideColumn, 1, 3);
    addNote(grid, row, "lblMirrorNote", {"mirror", "ModelDrawFlag"});
}

// Row by row, WIDE before TELE: a sheet is typed as it is printed.
void ProjectorForm::orderTabs(QGridLayout *grid) {
    QList<QWidget *> chain;
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            if (QLayoutItem *item = grid->itemAtPosition(r, c); item && item->widget()) {
                int row = 0, column = 0, rows = 0, columns = 0;
                grid->getItemPosition(grid->indexOf(item->widget()), &row, &column, &rows,
                                      &columns);
                if (row == r && column == c)
                    chain << stops(item->widget());
            }
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

QWidget *ProjectorForm::firstField() const {
    return name_;
}

void ProjectorForm::showHintOf(QWidget *focused) {
    if (focused && isAncestorOf(focused))
        hint_->setText(hintOf(focused, this));
}

void ProjectorForm::showSheet(const ProjectorSheet &sheet, bool editable) {
    editable_ = editable;
    shown_ = sheet;
    name_->setText(sheet.name);
    pixelsWide_->setText(optionalFieldNumber(sheet.pixelsWide, point_));
    pixelsHigh_->setText(optionalFieldNumber(sheet.pixelsHigh, point_));
    const bool fixed = sheet.lens[Zoom::Wide] && !sheet.lens[Zoom::Tele];
    fixedLens_->setChecked(fixed);
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        ends_[zoom]->show(sheet);
        ends_[zoom]->setEditable(editable);
    }
    ends_[Zoom::Tele]->setInUse(!fixed);
    lumens_->setText(optionalFieldNumber(sheet.lumens, point_));
    const bool inLumens = sheet.teleLumens > 0 && sheet.teleFactor <= 0;
    teleLightKind_->setCurrentIndex(inLumens ? LumensKind : FactorKind);
    teleLight_->setText(
        optionalFieldNumber(inLumens ? sheet.teleLumens : sheet.teleFactor, point_));
    contrast_->setText(optionalFieldNumber(sheet.contrast, point_));
    mirrored_->setChecked(sheet.mirrored);
    for (QLineEdit *edit : {name_, pixelsWide_, pixelsHigh_, lumens_, teleLight_, contrast_})
        edit->setReadOnly(!editable);
    for (QWidget *w : std::initializer_list<QWidget *>{fixedLens_, teleLightKind_, mirrored_})
        w->setEnabled(editable);
    check();
}

ProjectorSheet ProjectorForm::readFields() {
    unreadable_.clear();
    const auto read = [this](const QLineEdit *field, const char *term) {
        const TypedNumber number = typedNumber(field, point_);
        if (number.unreadable && !unreadable_.contains(QLatin1String(term)))
            unreadable_ << QLatin1String(term);
        return number.valueOr(0);
    };
    ProjectorSheet s = shown_;
    s.name = name_->text();
    s.pixelsWide = read(pixelsWide_, "px");
    s.pixelsHigh = read(pixelsHigh_, "px");
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele})
        ends_[zoom]->readInto(s, unreadable_);
    // The 16 : 9 limits a catalogue line gave follow its sizes; new sizes
    // make their own.
    if (s.sizes != shown_.sizes || s.pixelsWide != shown_.pixelsWide ||
        s.pixelsHigh != shown_.pixelsHigh)
        s.limits169.reset();
    s.lumens = read(lumens_, "lumens");
    const bool inLumens = teleLightKind_->currentIndex() == LumensKind;
    const double tele = read(teleLight_, inLumens ? "tele_lumens" : "tele_factor");
    s.teleFactor = inLumens ? 0 : tele;
    s.teleLumens = inLumens ? tele : 0;
    s.contrast = read(contrast_, "contrast");
    s.mirrored = mirrored_->isChecked();
    return s;
}

void ProjectorForm::check() {
    sheet_ = readFields();
    // Only a model being made is one of the user's own, which a catalogue
    // model's name makes doubtful.
    checked_ = editable_ ? session_.ownModelFrom(sheet_) : recordOf(sheet_);
    panelShape_->setText(ratioLabel(sheetPanelAspect(sheet_)));
    showNotes(checked_ ? std::nullopt : std::optional(checked_.error()));
    emit checkedAgain();
}

void ProjectorForm::showRefusal(const AppError &error) {
    showNotes(error);
}

void ProjectorForm::showNotes(const std::optional<AppError> &refusal) {
    std::vector<std::pair<QLabel *, QStringList>> said;
    const auto say = [this, &said](const QString &term, const QString &text) {
        for (const auto &[key, note] : notes_) {
            if (key.compare(term, Qt::CaseInsensitive) != 0)
                continue;
            auto at = std::find_if(said.begin(), said.end(),
                                   [note = note](const auto &s) { return s.first == note; });
            if (at == said.end())
                said.push_back({note, {text}});
            else if (!at->second.contains(text))
                at->second << text;
            return;
        }
    };
    for (const QString &term : unreadable_)
        say(term, session_.texts().text(OptionalKey::NotANumber));
    if (refusal)
        say(refusedTermOf(*refusal), refusal->description);
    else if (checked_)
        for (const ModelWarning &warning : checked_->warnings)
            say(warning.term, warning.text);
    for (const auto &entry : notes_) {
        QLabel *note = entry.second;
        const auto at = std::find_if(said.begin(), said.end(),
                                     [note](const auto &s) { return s.first == note; });
        const QString text = at == said.end() ? QString() : at->second.join(u'\n');
        if (note->text() != text)
            note->setText(text);
        note->setVisible(!text.isEmpty());
    }
}

} // namespace vistrel::app
