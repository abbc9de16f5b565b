#include "app/roompage.h"

#include "app/dialogs.h"
#include "app/roomdrawingview.h"
#include "app/sheetlinesview.h"
#include "app/sheettableview.h"
#include "app/typedtext.h"
#include "app/uifont.h"
#include "print/roompainter.h"
#include "session/session.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <utility>

namespace vistrel::app {

namespace {

constexpr int kHeadingGap = 8; // pixels above a heading

} // namespace

RoomPage::RoomPage(Session &session, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("pageRoom"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    addRoomInputs(form);
    addDetailInputs(form);
    layout->addLayout(form);

    lines_ =
        new SheetLinesView(QStringLiteral("lblRoomLine_%1"), QStringLiteral("valRoom_%1"), this);
    layout->addWidget(lines_);
    checksHeading_ = addHeading(layout, OptionalKey::ChecksHeading, "lblChecksHeading");
    checks_ = new QLabel(this);
    checks_->setObjectName(QStringLiteral("lblChecks"));
    // A failing check's words say what to change: a long sentence wraps.
    checks_->setWordWrap(true);
    checks_->setTextFormat(Qt::PlainText);
    layout->addWidget(checks_);
    addHeading(layout, OptionalKey::SeatTableTitle, "lblSeats");
    seats_ = new SheetTableView(QStringLiteral("tblSeats"),
                                withoutMnemonic(session_.texts().text(OptionalKey::SeatTableTitle)),
                                this);
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

void RoomPage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    refresh();
}

QString RoomPage::shownText(RoomInput input) const {
    return roomInputText(session_.roomSettings(), input, session_.state().unit,
                         session_.decimalPoint());
}

void RoomPage::confirmRoom(RoomInput input) {
    if (offerTypedText(
            *roomInputs_[static_cast<std::size_t>(input)], [&] { return shownText(input); },
            [&](const QString &text) { return take(input, text); }, dialogs_))
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
    offerTypedText(
        *detailInputs_[static_cast<std::size_t>(input)],
        [&] { return detailOf(session_.projectDetails(), input); },
        [&](const QString &text) {
            ProjectDetails details = session_.projectDetails();
            detailOf(details, input) = text;
            return session_.setProjectDetails(details);
        },
        dialogs_);
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
    lines_->setLines(sheet.room.lines);
    showChecks(sheet);
    seats_->setTable(sheet.seats);
    elevation_->setDrawing(std::move(sheet.elevation));
    plan_->setDrawing(std::move(sheet.plan));
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

} // namespace vistrel::app
