#include "app/plannerwindow.h"

#include "app/dialogs.h"
#include "app/lightpage.h"
#include "app/plaintext.h"
#include "app/plannermemory.h"
#include "app/roompage.h"
#include "app/uifont.h"
#include "calc/chartformat.h"
#include "core/numbers.h"
#include "core/pictureformat.h"
#include "files/filewriter.h"
#include "session/session.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vistrel::app {

namespace {

const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
constexpr int kBesideGap = 8;        // pixels between the calculator window and the planner
constexpr QSize kSmallest{240, 160}; // the window's least size; what is hidden scrolls
constexpr int kHeadingIndent = 12;   // pixels, the lines under a heading
constexpr int kChartRowsShown = 8;   // the table's least height, in rows
constexpr int kRowPadding = 6;       // pixels above and below a row's text, together

constexpr std::array<const char *, 2> kInputNames{"Gain", "Ambient"};

} // namespace

PlannerWindow::PlannerWindow(Session &session, Dialogs &dialogs, QWidget *calculator)
    : QWidget(calculator, Qt::Window), session_(session), dialogs_(dialogs),
      calculator_(calculator) {
    setObjectName(QStringLiteral("frmPlanner"));
    // A window beside the calculator: closing the calculator ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(plainWindowTitle(session_.texts().text(OptionalKey::PlannerTitle)));
    setFont(uiFont(font(), session_.texts()));
    geometry_ = recallPlanner().geometry;
    // A zero-interval timer, unlike a queued call, fires after the window's
    // pending repaint.
    followTimer_.setSingleShot(true);
    followTimer_.setInterval(0);
    connect(&followTimer_, &QTimer::timeout, this, &PlannerWindow::refresh);

    // Everything scrolls, so the window fits a small screen and shrinks as
    // far as the user likes.
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    // Never narrower than what it holds: the scroll bars make up the rest.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addLayout(createInputs());
    layout->addLayout(createNumbers());
    layout->addLayout(createChart(), 1);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(content);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus); // Tab goes from control to control
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("tabPlanner"));
    pages_->setDocumentMode(true);
    // Tab walks the controls of the page in sight, as it always has;
    // Ctrl+Tab turns the page.
    pages_->setFocusPolicy(Qt::NoFocus);
    pages_->tabBar()->setFocusPolicy(Qt::NoFocus);
    pages_->addTab(scroll_, session_.texts().text(OptionalKey::PlannerPage));
    pages_->addTab(createRoomPage(), session_.texts().text(OptionalKey::RoomHeading));
    pages_->addTab(createLightPage(), session_.texts().text(OptionalKey::LightHeading));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(pages_);
    setMinimumSize(kSmallest);
    showLabelsAsPlainText(this);
    session_.addObserver(*this);
}

PlannerWindow::~PlannerWindow() {
    // A field that has the keyboard finishes its edit as it is destroyed,
    // after this window has stopped being one.
    for (QLineEdit *edit : inputs_)
        edit->disconnect(this);
    // The lens list picks the item of what was typed as its field loses the keyboard.
    anamorphic_->disconnect(this);
    anamorphic_->lineEdit()->disconnect(this);
    session_.removeObserver(*this);
    if (placed_)
        remember(true);
}

QLayout *PlannerWindow::createInputs() {
    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    const QChar point = session_.decimalPoint();
    for (const PlannerInputInfo &row : kPlannerInputs) {
        const auto slot = static_cast<std::size_t>(row.input);
        auto *label = new QLabel(session_.texts().text(row.caption), this);
        label->setObjectName(QStringLiteral("lbl") + QLatin1String(kInputNames[slot]));
        auto *edit = new QLineEdit(inputText(session_.plannerSettings(), row.input, point), this);
        edit->setObjectName(QStringLiteral("txt") + QLatin1String(kInputNames[slot]));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::editingFinished, this,
                [this, input = row.input] { confirm(input); });
        inputs_[slot] = edit;
        form->addRow(label, edit);
    }
    addAnamorphicInput(form);
    return form;
}

// The usual factors to pick, and any other to type.
void PlannerWindow::addAnamorphicInput(QFormLayout *form) {
    auto *label = new QLabel(session_.texts().text(OptionalKey::Anamorphic), this);
    label->setObjectName(QStringLiteral("lblAnamorphic"));
    anamorphic_ = new QComboBox(this);
    anamorphic_->setObjectName(QStringLiteral("cboAnamorphic"));
    anamorphic_->setEditable(true);
    anamorphic_->setInsertPolicy(QComboBox::NoInsert);
    // Completing "1.2" to "1.25" would take a factor the user did not type.
    anamorphic_->setCompleter(nullptr);
    for (const double factor : kAnamorphicFactors)
        anamorphic_->addItem(formatGeneral(factor, session_.decimalPoint()));
    anamorphic_->setEditText(anamorphicText());
    anamorphic_->setMinimumWidth(inputs_[0]->sizeHint().width());
    label->setBuddy(anamorphic_);
    connect(anamorphic_, &QComboBox::activated, this, &PlannerWindow::confirmAnamorphic);
    connect(anamorphic_->lineEdit(), &QLineEdit::editingFinished, this,
            &PlannerWindow::confirmAnamorphic);
    form->addRow(label, anamorphic_);
}

QLayout *PlannerWindow::createNumbers() {
    auto *form = new QFormLayout;
    const auto lines = plannerLines(session_.plan(), session_.state().unit, session_.texts(),
                                    session_.decimalPoint());
    QString current;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SheetLine &line = lines[i];
        if (!line.heading.isEmpty() && line.heading != current)
            form->addRow(headingLabel(line.heading, this));
        current = line.heading;
        auto *caption = new QLabel(line.caption, this);
        caption->setObjectName(QStringLiteral("lblPlan_%1").arg(i));
        caption->setIndent(current.isEmpty() ? 0 : kHeadingIndent);
        values_[i] = new QLabel(line.value, this);
        values_[i]->setObjectName(QStringLiteral("valPlan_%1").arg(i));
        // Opaque, so that a new figure repaints the figure alone, not the window behind it.
        values_[i]->setAutoFillBackground(true);
        if (i == static_cast<std::size_t>(PlannerRow::Acuity)) {
            const QString note = plainToolTip(acuityNote(session_.texts()));
            caption->setToolTip(note);
            values_[i]->setToolTip(note);
        }
        form->addRow(caption, values_[i]);
    }
    return form;
}

// The room scrolls on its own page, as the planner's numbers do on theirs.
QWidget *PlannerWindow::createRoomPage() {
    room_ = new RoomPage(session_, dialogs_);
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("scrRoom"));
    scroll->setWidget(room_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    return scroll;
}

QWidget *PlannerWindow::createLightPage() {
    light_ = new LightPage(session_, dialogs_);
    // Every figure of light on the first page uses the light source's age.
    connect(light_, &LightPage::settingsTaken, this, &PlannerWindow::refresh);
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("scrLight"));
    scroll->setWidget(light_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    return scroll;
}

QLayout *PlannerWindow::createChart() {
    auto *box = new QVBoxLayout;
    chartLabel_ = headingLabel(QString(), this);
    chartLabel_->setObjectName(QStringLiteral("lblChart"));
    box->addWidget(chartLabel_);

    chartTable_ = new QTableWidget(0, int(kChartColumns.size()), this);
    chartTable_->setObjectName(QStringLiteral("tblChart"));
    chartTable_->setAccessibleName(withoutMnemonic(session_.texts().text(OptionalKey::Chart)));
    chartTable_->setHorizontalHeaderLabels(chartHeaders(session_.texts(), u'\n'));
    for (const QString &offset : {QStringLiteral("offset1"), QStringLiteral("offset2")})
        chartTable_->horizontalHeaderItem(static_cast<int>(kChartColumns.indexOf(offset)))
            ->setToolTip(plainToolTip(offsetNote(session_.texts())));
    chartTable_->verticalHeader()->hide();
    // One line of text a row, as in a printed chart.
    chartTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    chartTable_->verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + kRowPadding);
    chartTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    chartTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab leaves the table for the buttons instead of walking its cells.
    chartTable_->setTabKeyNavigation(false);
    chartTable_->setMinimumHeight(chartTable_->horizontalHeader()->sizeHint().height() +
                                  kChartRowsShown *
                                      chartTable_->verticalHeader()->defaultSectionSize());
    box->addWidget(chartTable_, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    copyButton_ = new QPushButton(session_.texts().text(OptionalKey::Copy), this);
    copyButton_->setObjectName(QStringLiteral("cmdCopy"));
    connect(copyButton_, &QPushButton::clicked, this, &PlannerWindow::copyChart);
    buttons->addWidget(copyButton_);
    exportCsvButton_ = new QPushButton(session_.texts().text(OptionalKey::ExportCsv), this);
    exportCsvButton_->setObjectName(QStringLiteral("cmdExportCsv"));
    connect(exportCsvButton_, &QPushButton::clicked, this, &PlannerWindow::exportCsv);
    buttons->addWidget(exportCsvButton_);
    box->addLayout(buttons);
    return box;
}

void PlannerWindow::present() {
    if (!placed_) {
        placed_ = true;
        // Sized for what it will show.
        showNumbers();
        scroll_->widget()->layout()->activate();
        // A place on a screen that is gone (another monitor, a smaller
        // resolution) is dropped.
        if (geometry_.isEmpty() || !restoreGeometry(geometry_) ||
            !QGuiApplication::screenAt(geometry().center()))
            placeBesideCalculator();
        else
            keepOnScreen(QGuiApplication::screenAt(geometry().center())->availableGeometry());
    }
    show();
    raise();
    activateWindow();
}

// On the calculator's screen and wholly on it: beside the calculator where
// there is room, on its right or else its left, and otherwise over it; no
// larger than the screen.
void PlannerWindow::placeBesideCalculator() {
    const QRect screen = calculator_->screen()->availableGeometry();
    const QRect calculator = calculator_->frameGeometry();
    // The tab bar takes its height from the chart, which stretches.
    resize(scroll_->widget()->sizeHint() +
           QSize(scroll_->verticalScrollBar()->sizeHint().width(), 0));
    const int width = size().width() + decorations().width();
    int left = calculator.right() + 1 + kBesideGap;
    if (left + width > screen.right() + 1)
        left = calculator.left() - kBesideGap - width;
    move(left, calculator.top());
    keepOnScreen(screen);
}

// The frame is the window system's, unknown before the first showing: the
// calculator's tells its size.
QSize PlannerWindow::decorations() const {
    return calculator_->frameGeometry().size() - calculator_->size();
}

// No larger than `screen`, and wholly on it.
void PlannerWindow::keepOnScreen(const QRect &screen) {
    const QSize frame = decorations();
    resize(size().expandedTo(kSmallest).boundedTo(screen.size() - frame));
    const int width = size().width() + frame.width();
    const int height = size().height() + frame.height();
    const QPoint at = frameGeometry().topLeft();
    const QPoint inside(
        std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - width)),
        std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - height)));
    if (inside != at)
        move(inside);
}

void PlannerWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    refresh();
}

void PlannerWindow::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    remember();
}

void PlannerWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Escape drops what was being typed: closing ends the edit, and a
        // value left in the field would be confirmed (or refused) on the way out.
        const QChar point = session_.decimalPoint();
        for (const PlannerInputInfo &row : kPlannerInputs)
            inputs_[static_cast<std::size_t>(row.input)]->setText(
                inputText(session_.plannerSettings(), row.input, point));
        anamorphic_->setEditText(anamorphicText());
        room_->dropTyping();
        light_->dropTyping();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A value the input does not take is put back, and the message says why;
// nothing else changes.
void PlannerWindow::confirm(PlannerInput input) {
    QLineEdit *edit = inputs_[static_cast<std::size_t>(input)];
    const QChar point = session_.decimalPoint();
    const QString shown = inputText(session_.plannerSettings(), input, point);
    if (edit->text() == shown)
        return;
    const std::optional<PlannerSettings> typed =
        withInput(session_.plannerSettings(), input, edit->text(), point);
    if (!typed || !session_.setPlannerSettings(*typed)) {
        // Put back first: the message box takes the focus, which ends the edit again.
        edit->setText(shown);
        dialogs_.message(this, refusalMessage(session_.texts(), input));
        return;
    }
    edit->setText(inputText(*typed, input, point));
    remember();
    refresh();
}

// A factor the lens does not take is put back and the message says why, as
// for the other inputs; one it takes is the calculation's, which the session
// recalculates and reports.
void PlannerWindow::confirmAnamorphic() {
    const QString typed = anamorphic_->currentText();
    if (typed == anamorphicText())
        return;
    const Result<double> factor = parseAnamorphic(withDotDecimal(typed, session_.decimalPoint()));
    if (!factor) {
        // Put back first: the message box takes the focus, which ends the edit again.
        anamorphic_->setEditText(anamorphicText());
        dialogs_.message(this, messageAbout(session_.texts().text(OptionalKey::AnamorphicRefused),
                                            session_.texts().text(OptionalKey::Anamorphic)));
        return;
    }
    // Taken, or its calculation failed and the calculator's box said why: the
    // factor in use shows.
    const Result<void> taken = session_.selectAnamorphic(*factor);
    anamorphic_->setEditText(anamorphicText());
    if (taken)
        refresh();
}

QString PlannerWindow::anamorphicText() const {
    return formatGeneral(session_.state().anamorphic, session_.decimalPoint());
}

void PlannerWindow::refresh() {
    if (!isVisible())
        return;
    showNumbers();
    // Inputs the calculation took elsewhere (from a file), but never over
    // one being typed.
    const QChar point = session_.decimalPoint();
    for (const PlannerInputInfo &row : kPlannerInputs) {
        QLineEdit *edit = inputs_[static_cast<std::size_t>(row.input)];
        const QString shown = inputText(session_.plannerSettings(), row.input, point);
        if (!edit->isModified() && edit->text() != shown)
            edit->setText(shown);
    }
    if (!anamorphic_->lineEdit()->isModified() && anamorphic_->currentText() != anamorphicText())
        anamorphic_->setEditText(anamorphicText());
    room_->refresh();
    light_->refresh();
}

void PlannerWindow::showNumbers() {
    const auto lines = plannerLines(session_.plan(), session_.state().unit, session_.texts(),
                                    session_.decimalPoint());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (values_[i]->text() != lines[i].value)
            values_[i]->setText(lines[i].value);
    highlightCurrentSize(currentChart());
}

// The row nearest the calculator's screen stands out, in bold.
void PlannerWindow::highlightCurrentSize(const ThrowChart &chart) {
    const double diagonal = fromInches(session_.state().screenDiagonal, chart.unit);
    int nearest = -1;
    for (std::size_t r = 0; r < chart.rows.size(); ++r)
        if (nearest < 0 || std::abs(chart.rows[r].diagonal - diagonal) <
                               std::abs(chart.rows[std::size_t(nearest)].diagonal - diagonal))
            nearest = static_cast<int>(r);
    if (nearest == highlighted_)
        return;
    const auto embolden = [this](int row, bool bold) {
        for (int c = 0; row >= 0 && row < chartTable_->rowCount() && c < chartTable_->columnCount();
             ++c)
            if (QTableWidgetItem *item = chartTable_->item(row, c)) {
                QFont font = item->font();
                font.setBold(bold);
                item->setFont(font);
            }
    };
    embolden(highlighted_, false);
    embolden(nearest, true);
    highlighted_ = nearest;
}

void PlannerWindow::showChart() {
    const ThrowChart &chart = chart_.chart();
    chartLabel_->setText(withoutMnemonic(session_.texts().text(OptionalKey::Chart)) +
                         QStringLiteral(": ") +
                         chartSubject(session_.calculator(), session_.texts()));
    chartTable_->setRowCount(static_cast<int>(chart.rows.size()));
    highlighted_ = -1; // every item is new
    for (std::size_t r = 0; r < chart.rows.size(); ++r) {
        const QStringList cells = chartCells(chart, chart.rows[r], session_.decimalPoint());
        for (qsizetype c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            chartTable_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    chartTable_->resizeColumnsToContents();
    chartTable_->setMinimumWidth(chartTable_->horizontalHeader()->length() +
                                 2 * chartTable_->frameWidth() +
                                 chartTable_->verticalScrollBar()->sizeHint().width());
}

const ThrowChart &PlannerWindow::currentChart() {
    if (chart_.update(session_))
        showChart();
    return chart_.chart();
}

void PlannerWindow::copyChart() {
    QGuiApplication::clipboard()->setText(
        chartTable(currentChart(), u'\t', chartHeaders(session_.texts()), session_.decimalPoint()));
}

void PlannerWindow::exportCsv() {
    const QString path =
        dialogs_.showSaveDialog(this, kCsvFilter, QDir::currentPath(), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const ThrowChart &chart = currentChart();
    const QByteArray csv = chartTable(chart, u',', csvColumns(chart.unit)).toUtf8();
    if (Result<void> written = writeFileAtomically(path, csv); !written)
        dialogs_.error(this, localizedBoxText(written.error(), session_.texts()));
}

// A preference that cannot be kept is said once a run, not each time the
// window closes; on the way out of the program, on stderr.
void PlannerWindow::remember(bool quietly) {
    const Result<void> kept = rememberPlanner({session_.plannerSettings(), saveGeometry()});
    if (kept || memoryFailed_)
        return;
    memoryFailed_ = true;
    if (quietly)
        std::fprintf(stderr, "vistrel: %s\n", qPrintable(kept.error().description));
    else
        dialogs_.error(this, localizedBoxText(kept.error(), session_.texts()));
}

} // namespace vistrel::app
