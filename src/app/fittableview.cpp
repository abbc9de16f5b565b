#include "app/fittableview.h"

#include "app/dialogs.h"
#include "app/typednumbers.h"
#include "calc/display.h"
#include "core/helpers.h"
#include "core/pictureformat.h"
#include "session/fittext.h"
#include "session/session.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace vistrel::app {

namespace {

enum Column {
    ModelColumn,
    FitsColumn,
    WideColumn,
    TeleColumn,
    RangeColumn,
    OffsetsColumn,
    LightColumn,
    ReasonColumn,
};
constexpr int kColumnCount = 8;
// Where a row keeps its model's list position, as sorting moves it.
constexpr int kModelRole = Qt::UserRole;
// What a numeric column sorts by: the number, not its text.
constexpr int kSortRole = Qt::UserRole + 1;

// Sorts by its number where it has one (those without one last), else by text.
class FitItem : public QTableWidgetItem {
public:
    FitItem(const QString &text, std::optional<double> key) : QTableWidgetItem(text) {
        if (key)
            setData(kSortRole, *key);
        if (key || text.isEmpty())
            setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    bool operator<(const QTableWidgetItem &other) const override {
        const QVariant mine = data(kSortRole);
        const QVariant theirs = other.data(kSortRole);
        if (mine.isValid() && theirs.isValid())
            return mine.toDouble() < theirs.toDouble();
        if (mine.isValid() != theirs.isValid())
            return mine.isValid();
        return QTableWidgetItem::operator<(other);
    }
};

} // namespace

FitTableView::FitTableView(Session &session, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmFit"));
    const LanguageTexts &texts = session_.texts();
    auto *layout = new QVBoxLayout(this);
    subject_ = new QLabel(this);
    subject_->setObjectName(QStringLiteral("lblFitSubject"));
    layout->addWidget(subject_);

    auto *room = new QHBoxLayout;
    from_ = new QLineEdit(this);
    from_->setObjectName(QStringLiteral("txtRoomFrom"));
    to_ = new QLineEdit(this);
    to_->setObjectName(QStringLiteral("txtRoomTo"));
    for (const auto &[field, key] :
         {std::pair{from_, OptionalKey::RoomFrom}, std::pair{to_, OptionalKey::RoomTo}}) {
        auto *label = new QLabel(texts.text(key), this);
        label->setBuddy(field);
        field->setAccessibleName(withoutMnemonic(texts.text(key)));
        connect(field, &QLineEdit::editingFinished, this,
                [this, edit = field] { confirmRoom(edit); });
        room->addWidget(label);
        room->addWidget(field);
    }
    roomUnit_ = new QLabel(this);
    roomUnit_->setObjectName(QStringLiteral("lblRoomUnit"));
    room->addWidget(roomUnit_);
    room->addStretch();
    layout->addLayout(room);

    table_ = new QTableWidget(0, kColumnCount, this);
    table_->setObjectName(QStringLiteral("tblFit"));
    table_->setAccessibleName(withoutMnemonic(texts.text(OptionalKey::FitPage)));
    const auto zoom = [&texts](Zoom end) {
        return withoutMnemonic(texts.text(info(end).caption)).simplified();
    };
    table_->setHorizontalHeaderLabels({
        withoutMnemonic(texts.text(OptionalKey::NameCaption)),
        texts.text(OptionalKey::FitsCaption),
        zoom(Zoom::Wide),
        zoom(Zoom::Tele),
        texts.text(OptionalKey::RangeCaption),
        withoutMnemonic(texts.text(LangKey::OffsetCaption)).simplified(),
        QStringLiteral("fL"),
        texts.text(OptionalKey::WhyNot),
    });
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    table_->setSortingEnabled(true);
    table_->sortByColumn(FitsColumn, Qt::DescendingOrder);
    // Enter and a double click both activate a row.
    connect(table_, &QTableWidget::activated, this, &FitTableView::choose);
    layout->addWidget(table_, 1);
}

// A field that has the keyboard finishes its edit as it is destroyed, after
// this view has stopped being one.
FitTableView::~FitTableView() {
    from_->disconnect(this);
    to_->disconnect(this);
}

void FitTableView::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    refresh();
}

std::optional<double> FitTableView::roomDistance(const QLineEdit *field) const {
    const TypedNumber typed = typedNumber(field, session_.decimalPoint());
    if (!typed.value || !(*typed.value >= 0))
        return std::nullopt;
    const double inches = toInches(*typed.value, session_.state().unit);
    return std::isfinite(inches) ? std::optional(inches) : std::nullopt;
}

// A distance the room cannot have is taken back, and the message says why.
void FitTableView::confirmRoom(QLineEdit *field) {
    const TypedNumber typed = typedNumber(field, session_.decimalPoint());
    if (typed.unreadable || (typed.value && !roomDistance(field))) {
        // Cleared first: the message box takes the focus, which ends the edit again.
        field->clear();
        dialogs_.message(this, messageAbout(session_.texts().text(OptionalKey::RoomRefused),
                                            field->accessibleName()));
    }
    refresh();
}

void FitTableView::refresh() {
    if (!isVisible())
        return;
    FitRequest request = session_.fitRequest();
    request.nearest = roomDistance(from_);
    request.farthest = roomDistance(to_);
    const std::vector<FitRow> rows = session_.fit(request);

    const Unit unit = session_.state().unit;
    const QChar point = session_.decimalPoint();
    const QString unitName = QLatin1String(info(unit).cli);
    const LanguageTexts &texts = session_.texts();
    roomUnit_->setText(withoutMnemonic(texts.text(info(unit).caption)));
    subject_->setText(
        replaceText(replaceText(texts.text(OptionalKey::FitSubject), QStringLiteral("%1"),
                                shownLength(request.diagonal, unit, info(unit).lengthStep,
                                            session_.state().zoomEnd, point) +
                                    u' ' + unitName),
                    QStringLiteral("%2"), formatLabel(request.format)));

    const std::vector<ModelRecord> &models = session_.calculator().models();
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FitRow &fit = rows[i];
        const FitFigures figures = fitFigures(fit, unit, point);
        const int row = static_cast<int>(i);
        const auto at = static_cast<std::size_t>(fit.modelIndex);
        const QString name = at < models.size() ? models[at].name : QString();
        const auto withUnit = [&unitName](const QString &figure) {
            return figure.isEmpty() ? figure : figure + u' ' + unitName;
        };
        const auto distance = [&](Zoom zoom) -> FitItem * {
            return new FitItem(withUnit(figures.distance[zoom]), fit.distance[zoom]);
        };
        const QString offsets = figures.offset2.isEmpty()
                                    ? figures.offset1
                                    : figures.offset1 + QStringLiteral(" ~ ") + figures.offset2;
        const bool placed = fit.nearest && fit.farthest;
        std::array<FitItem *, kColumnCount> cells{
            new FitItem(name, std::nullopt),
            new FitItem(texts.text(fit.fits() ? OptionalKey::YesWord : OptionalKey::NoWord),
                        fit.fits() ? 1 : 0),
            distance(Zoom::Wide),
            distance(Zoom::Tele),
            new FitItem(placed
                            ? withUnit(figures.nearest + QStringLiteral(" – ") + figures.farthest)
                            : QString(),
                        fit.nearest),
            new FitItem(placed ? withUnit(offsets) : QString(),
                        placed ? std::optional(std::abs(fit.offsets.a)) : std::nullopt),
            new FitItem(figures.footLamberts, fit.footLamberts),
            new FitItem(fitReason(fit, request, unit, point), std::nullopt),
        };
        cells[ModelColumn]->setData(kModelRole, fit.modelIndex);
        for (int c = 0; c < kColumnCount; ++c)
            table_->setItem(row, c, cells[static_cast<std::size_t>(c)]);
    }
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
}

void FitTableView::choose(const QModelIndex &index) {
    const QTableWidgetItem *model = table_->item(index.row(), ModelColumn);
    if (!model)
        return;
    if (Result<void> chosen = session_.selectModelKeepingScreen(model->data(kModelRole).toInt());
        !chosen)
        dialogs_.error(this, localizedBoxText(chosen.error(), session_.texts()));
}

} // namespace vistrel::app
