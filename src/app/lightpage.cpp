#include "app/lightpage.h"

#include "app/dialogs.h"
#include "app/sheetlinesview.h"
#include "app/sheettableview.h"
#include "app/typedtext.h"
#include "app/uifont.h"
#include "session/session.h"
#include "session/sheet.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vistrel::app {

namespace {

constexpr int kHeadingGap = 8; // pixels above a heading

} // namespace

LightPage::LightPage(Session &session, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("pageLight"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    addInputs(form);
    layout->addLayout(form);
    lines_ =
        new SheetLinesView(QStringLiteral("lblLightLine_%1"), QStringLiteral("valLight_%1"), this);
    layout->addWidget(lines_);

    const LanguageTexts &texts = session_.texts();
    targetsHeading_ = addHeading(layout, "lblTargets");
    targets_ = new SheetTableView(QStringLiteral("tblTargets"),
                                  withoutMnemonic(texts.text(OptionalKey::TargetsTitle)), this);
    layout->addWidget(targets_);
    tasksHeading_ = addHeading(layout, "lblTasks");
    tasks_ = new SheetTableView(QStringLiteral("tblTasks"),
                                withoutMnemonic(texts.text(OptionalKey::TasksTitle)), this);
    layout->addWidget(tasks_);
    tasksNote_ = new QLabel(this);
    tasksNote_->setObjectName(QStringLiteral("lblTasksNote"));
    tasksNote_->setTextFormat(Qt::PlainText);
    tasksNote_->setWordWrap(true);
    layout->addWidget(tasksNote_);
    layout->addStretch(1);
}

LightPage::~LightPage() {
    // A field that has the keyboard finishes its edit as it is destroyed,
    // after this page has stopped being one.
    for (QLineEdit *edit : inputs_)
        edit->disconnect(this);
}

void LightPage::addInputs(QFormLayout *form) {
    for (const LightInputInfo &row : kLightInputs) {
        const auto slot = static_cast<std::size_t>(row.input);
        auto *label = new QLabel(session_.texts().text(row.caption), this);
        label->setObjectName(QStringLiteral("lblLight_%1").arg(slot));
        label->setTextFormat(Qt::PlainText);
        auto *edit = new QLineEdit(shownText(row.input), this);
        edit->setObjectName(QStringLiteral("txtLight_%1").arg(slot));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::editingFinished, this,
                [this, input = row.input] { confirm(input); });
        inputs_[slot] = edit;
        form->addRow(label, edit);
    }
}

QLabel *LightPage::addHeading(QLayout *layout, const char *name) {
    QLabel *heading = headingLabel(QString(), this);
    heading->setObjectName(QLatin1String(name));
    heading->setTextFormat(Qt::PlainText);
    heading->setContentsMargins(0, kHeadingGap, 0, 0);
    layout->addWidget(heading);
    return heading;
}

void LightPage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    refresh();
}

QString LightPage::shownText(LightInput input) const {
    return lightInputText(session_.plannerSettings(), input, session_.decimalPoint());
}

void LightPage::confirm(LightInput input) {
    // As the planner keeps it: "0.5" reads "end".
    if (offerTypedText(
            *inputs_[static_cast<std::size_t>(input)], [&] { return shownText(input); },
            [&](const QString &text) { return take(input, text); }, dialogs_))
        emit settingsTaken();
}

Result<void> LightPage::take(LightInput input, const QString &text) {
    PlannerSettings settings;
    VISTREL_TRY_ASSIGN(settings, withLightInput(session_.plannerSettings(), input, text,
                                                session_.texts(), session_.decimalPoint()));
    return session_.setPlannerSettings(settings);
}

void LightPage::dropTyping() {
    showInputs(true);
}

// Inputs the session took elsewhere (a project file).
void LightPage::showInputs(bool overTyping) {
    for (const LightInputInfo &row : kLightInputs) {
        QLineEdit *edit = inputs_[static_cast<std::size_t>(row.input)];
        const QString shown = shownText(row.input);
        if ((overTyping || !edit->isModified()) && edit->text() != shown)
            edit->setText(shown);
    }
}

// Without a model the tables are empty, their titles and note too: the
// labels go with them.
void LightPage::showText(QLabel *label, const QString &text) {
    if (label->text() != text)
        label->setText(text);
    label->setVisible(!text.isEmpty());
}

void LightPage::refresh() {
    if (!isVisible())
        return;
    showInputs(false);
    const LightSheet sheet = composeLight(session_);
    lines_->setLines(sheet.light.lines);
    showText(targetsHeading_, sheet.targets.title);
    targets_->setTable(sheet.targets);
    targets_->setVisible(!sheet.targets.rows.empty());
    showText(tasksHeading_, sheet.tasks.title);
    tasks_->setTable(sheet.tasks);
    tasks_->setVisible(!sheet.tasks.rows.empty());
    showText(tasksNote_, sheet.tasks.subject);
}

} // namespace vistrel::app
