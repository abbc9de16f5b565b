#include "app/roompage.h"

#include "app/dialogs.h"
#include "app/roomdrawingview.h"
#include "app/uifont.h"
#include "print/roompainter.h"
#include "session/session.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace vistrel::app {

namespace {

constexpr int kHeadingGap = 8; // pixels above a heading
constexpr int kRowPadding = 6; // pixels above and below a table row's text, together

} // namespace

RoomPage::RoomPage(Session &session, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("pageRoom"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    addRoomInputs(form);
    addDetailInputs(form);
    layout->addLayout(form);

    lines_ = new QGridLayout;
    layout->addLayout(lines_);
    checksHeading_ = addHeading(layout, OptionalKey::ChecksHeading, "lblChecksHeading");
    checks_ = new QLabel(this);
    checks_->setObjectName(QStringLiteral("lblChecks"));
    // A failing check's words say what to change: a long sentence wraps.
    checks_->setWordWrap(true);
    checks_->setTextFormat(Qt::PlainText);
    layout->addWidget(checks_);
    addHeading(layout, OptionalKey::SeatTableTitle, "lblSeats");
    seats_ = createSeatTable();
    layout->addWidget(seats_);

    addHeading(layout, OptionalKey::ElevationHeading, "lblElevation");
    elevation_ = new RoomDrawingView(this);
    elevation_->setObjectName(QStringLiteral("picElevation"));
    elevation_->setAccessibleName(session_.texts().text(OptionalKey::ElevationHeading));
    layout->addWidget(elevation_, 1);
    addHeading(layout, OptionalKey::PlanHeading, "lblPlan");
    plan_ = new RoomDrawingView(this);
    plan_->setObjectName(QStringLiteral("picPlan"));
    plan_->setAccessibleName(session_.texts().text(OptionalKey::PlanHeading));
    layout->addWidget(plan_, 1);
    checksHeading_->hide();
    checks_->hide();
}

RoomPage::~RoomPage() {
    // A field that has the keyboard finishes its edit as it is destroyed,
    // after this page has stopped being one.
    for (QLineEdit *edit : roomInputs_)
        edit->disconnect(this);
    for (QLineEdit *edit : detailInputs_)
        edit->disconnect(this);
}

void RoomPage::addRoomInputs(QFormLayout *form) {
    for (const RoomInputInfo &row : kRoomInputs) {
        const auto slot = static_cast<std::size_t>(row.input);
        auto *label = new QLabel(session_.texts().text(row.caption), this);
        label->setObjectName(QStringLiteral("lblRoom_%1").arg(slot));
        auto *edit = new QLineEdit(shownText(row.input), this);
        edit->setObjectName(QStringLiteral("txtRoom_%1").arg(slot));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::editingFinished, this,
                [this, input = row.input] { confirmRoom(input); });
        roomInputs_[slot] = edit;
        form->addRow(label, edit);
    }
}

void RoomPage::addDetailInputs(QFormLayout *form) {
    for (const DetailInput input : kDetailInputs) {
        const auto slot = static_cast<std::size_t>(input);
        auto *label = new QLabel(session_.texts().text(captionOf(input)), this);
        label->setObjectName(QStringLiteral("lblProject_%1").arg(slot));
        auto *edit = new QLineEdit(detailOf(session_.projectDetails(), input), this);
        edit->setObjectName(QStringLiteral("txtProject_%1").arg(slot));
        edit->setMaxLength(int(kLongestDetail));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::editingFinished, this, [this, input] { confirmDetail(input); });
        detailInputs_[slot] = edit;
        form->addRow(label, edit);
    }
}

QLabel *RoomPage::addHeading(QLayout *layout, OptionalKey key, const char *name) {
    QLabel *heading = headingLabel(withoutMnemonic(session_.texts().text(key)), this);
    heading->setObjectName(QLatin1String(name));
    heading->setContentsMargins(0, kHeadingGap, 0, 0);
    layout->addWidget(heading);
    return heading;
}

QTableWidget *RoomPage::createSeatTable() {
    auto *table = new QTableWidget(this);
    table->setObjectName(QStringLiteral("tblSeats"));
    table->setAccessibleName(withoutMnemonic(session_.texts().text(OptionalKey::SeatTableTitle)));
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + kRowPadding);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab leaves the table instead of walking its cells.
    table->setTabKeyNavigation(false);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

void RoomPage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    refresh();
}

QString RoomPage::shownText(RoomInput input) const {
    return roomInputText(session_.roomSettings(), input, session_.state().unit,
                         session_.decimalPoint());
}

// A value the room does not take is put back and the engine's message says
// why; nothing else changes.
void RoomPage::confirmRoom(RoomInput input) {
    QLineEdit *edit = roomInputs_[static_cast<std::size_t>(input)];
    const QString shown = shownText(input);
    if (edit->text() == shown)
        return;
    if (const Result<void> taken = take(input, edit->text()); !taken) {
        // Put back first: the message box takes the focus, which ends the edit again.
        edit->setText(shown);
        dialogs_.message(window(), taken.error().description);
        return;
    }
    // As the room keeps it: rows nearest first, in the unit's own figures.
    edit->setText(shownText(input));
    refresh();
}

Result<void> RoomPage::take(RoomInput input, const QString &text) {
    RoomSettings room;
    VISTREL_TRY_ASSIGN(room,
                       withRoomInput(session_.roomSettings(), input, text, session_.state().unit,
                                     session_.texts(), session_.decimalPoint()));
    return session_.setRoomSettings(room);
}

void RoomPage::confirmDetail(DetailInput input) {
    QLineEdit *edit = detailInputs_[static_cast<std::size_t>(input)];
    const QString &shown = detailOf(session_.projectDetails(), input);
    if (edit->text() == shown)
        return;
    ProjectDetails details = session_.projectDetails();
    detailOf(details, input) = edit->text();
    if (const Result<void> taken = session_.setProjectDetails(details); !taken) {
        edit->setText(detailOf(session_.projectDetails(), input));
        dialogs_.message(window(), taken.error().description);
        return;
    }
    edit->setModified(false);
}

void RoomPage::dropTyping() {
    showInputs(true);
}

// Inputs the session took elsewhere (a project file) or that read anew in
// another unit.
void RoomPage::showInputs(bool overTyping) {
    for (const RoomInputInfo &row : kRoomInputs) {
        QLineEdit *edit = roomInputs_[static_cast<std::size_t>(row.input)];
        const QString shown = shownText(row.input);
        if ((overTyping || !edit->isModified()) && edit->text() != shown)
            edit->setText(shown);
    }
    for (const DetailInput input : kDetailInputs) {
        QLineEdit *edit = detailInputs_[static_cast<std::size_t>(input)];
        const QString &shown = detailOf(session_.projectDetails(), input);
        if ((overTyping || !edit->isModified()) && edit->text() != shown)
            edit->setText(shown);
    }
}

void RoomPage::refresh() {
    if (!isVisible())
        return;
    showInputs(false);
    RoomSheet sheet = composeRoom(session_);
    showLines(sheet.room.lines);
    showChecks(sheet);
    showSeats(sheet.seats);
    elevation_->setDrawing(std::move(sheet.elevation));
    plan_->setDrawing(std::move(sheet.plan));
}

// The labels of lines shown before are kept for the next lines, so that a
// new figure repaints the figure alone.
void RoomPage::showLines(const std::vector<SheetLine> &lines) {
    while (lineLabels_.size() < lines.size()) {
        const int row = static_cast<int>(lineLabels_.size());
        std::array<QLabel *, 2> pair{new QLabel(this), new QLabel(this)};
        pair[0]->setObjectName(QStringLiteral("lblRoomLine_%1").arg(row));
        pair[1]->setObjectName(QStringLiteral("valRoom_%1").arg(row));
        for (QLabel *label : pair) {
            label->setTextFormat(Qt::PlainText);
            label->setAutoFillBackground(true);
        }
        lines_->addWidget(pair[0], row, 0);
        lines_->addWidget(pair[1], row, 1);
        lineLabels_.push_back(pair);
    }
    for (std::size_t i = 0; i < lineLabels_.size(); ++i) {
        const bool shown = i < lines.size();
        for (std::size_t c = 0; c < 2; ++c) {
            QLabel *label = lineLabels_[i][c];
            const QString text = !shown ? QString() : c == 0 ? lines[i].caption : lines[i].value;
            if (label->text() != text)
                label->setText(text);
            label->setVisible(shown);
        }
    }
}

void RoomPage::showChecks(const RoomSheet &sheet) {
    const QString text = sheet.room.notes.join(u'\n');
    const bool shown = !text.isEmpty();
    checksHeading_->setVisible(shown);
    checks_->setVisible(shown);
    if (checks_->text() != text)
        checks_->setText(text);
    QPalette palette = checks_->palette();
    palette.setColor(QPalette::WindowText, sheet.failing
                                               ? print::roomInkStyle(RoomInk::Failing).line
                                               : this->palette().color(QPalette::WindowText));
    if (palette != checks_->palette())
        checks_->setPalette(palette);
}

// Every entry changes the angles: the cells take their new texts in place,
// and the columns are measured again only when a text's length or the
// table's shape changed, which is what costs.
void RoomPage::showSeats(const SheetTable &table) {
    if (table.headers == shownSeats_.headers && table.rows == shownSeats_.rows)
        return;
    bool remeasure =
        table.headers != shownSeats_.headers || table.rows.size() != shownSeats_.rows.size();
    if (table.headers != shownSeats_.headers) {
        seats_->setColumnCount(static_cast<int>(table.headers.size()));
        seats_->setHorizontalHeaderLabels(table.headers);
    }
    seats_->setRowCount(static_cast<int>(table.rows.size()));
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const QStringList &cells = table.rows[r];
        for (qsizetype c = 0; c < cells.size(); ++c) {
            QTableWidgetItem *item = seats_->item(static_cast<int>(r), static_cast<int>(c));
            if (!item) {
                item = new QTableWidgetItem;
                if (c > 0)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                seats_->setItem(static_cast<int>(r), static_cast<int>(c), item);
            }
            if (item->text() == cells[c])
                continue;
            remeasure = remeasure || item->text().size() != cells[c].size();
            item->setText(cells[c]);
        }
    }
    shownSeats_ = table;
    if (remeasure)
        seats_->resizeColumnsToContents();
}

} // namespace vistrel::app
