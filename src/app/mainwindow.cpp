#include "app/mainwindow.h"

#include "app/dialogs.h"
#include "app/drawbox.h"
#include "app/fieldeditor.h"
#include "app/lazypictures.h"
#include "app/optionframe.h"
#include "app/pictures.h"
#include "app/plaintext.h"
#include "app/plannerentries.h"
#include "app/twips.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolButton>
#include <type_traits>

namespace vistrel::app {

namespace {

constexpr QSize kClientSize(px(8910), px(5835));

constexpr std::array<TwipsRect, 4> kValueRects{
    {{2580, 2880, 555, 285}, {2580, 900, 555, 285}, {3840, 180, 555, 285}, {5160, 2220, 555, 285}}};
constexpr std::array<TwipsRect, 4> kEnterRects{
    {{3120, 2880, 315, 255}, {3180, 900, 315, 255}, {4440, 180, 315, 255}, {5760, 2220, 315, 255}}};
constexpr std::array<TwipsRect, 4> kLabelRects{
    {{2580, 2640, 1380, 195}, {2580, 660, 1530, 195}, {3840, 0, 420, 195}, {5160, 1980, 465, 195}}};
constexpr std::array<const char *, 4> kLabelTexts{"Projection Distance", "Screen Size Diagonal",
                                                  "Width", "Height"};
const QColor kLabelColour(0, 0, 192);

QString indexedName(const char *base, std::size_t index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(base)).arg(index);
}

QLabel *valueLabel(QWidget *parent, const QString &name, const QString &text, TwipsRect rect) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(px(rect));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelColour);
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    label->setPalette(palette);
    return label;
}

// Empty until start-up shows the first result: a text set now would be laid
// out only to be replaced.
QLineEdit *textBox(QWidget *parent, const QString &name, TwipsRect rect) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(px(rect));
    edit->setTextMargins(0, 0, 0, 0);
    return edit;
}

// The hidden image controls of the design stand for the diagrams' source
// pictures; the diagrams take those from Pictures, decoded when first drawn.
void hiddenPicture(QWidget *parent, const QString &name) {
    auto *picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->hide();
}

} // namespace

MainWindow::MainWindow(Session &session, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Projection Distance Calculator"));
    createControls();
    createActions();
    createMenus();
    connectControls();
    showLabelsAsPlainText(this);
    session_.addObserver(*this);
}

MainWindow::~MainWindow() {
    session_.removeObserver(*this);
}

void MainWindow::createControls() {
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientSize);
    setCentralWidget(client);

    // Two lines under the menu bar, shadow over light, across the window.
    for (std::size_t i = 0; i < menuRules_.size(); ++i) {
        auto *line = new QFrame(client);
        line->setObjectName(indexedName("lineMenu", i));
        line->setGeometry(0, static_cast<int>(i), kClientSize.width(), 1);
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window,
                         palette.color(i == 0 ? QPalette::Dark : QPalette::Light));
        line->setPalette(palette);
    }

    modelLabel_ = new QLabel(QStringLiteral("Model"), client);
    modelLabel_->setObjectName(QStringLiteral("lblModel"));
    modelLabel_->setGeometry(px(TwipsRect{60, 120, 435, 195}));
    modelCombo_ = new QComboBox(client);
    modelCombo_->setObjectName(QStringLiteral("cboModel"));
    modelCombo_->setGeometry(px(TwipsRect{600, 60, 8235, 315}));
    modelLabel_->setBuddy(modelCombo_);

    createDiagramBoxes(client);
    createOptionFrames(client);

    logoBox_ = new QLabel(client);
    logoBox_->setObjectName(QStringLiteral("picLogo"));
    logoBox_->setGeometry(px(TwipsRect{6900, 5100, 1935, 675}));
    logo_ = new QLabel(logoBox_);
    logo_->setObjectName(QStringLiteral("imgLogo"));
    logo_->setPixmap(QPixmap::fromImage(Pictures::logo()));
    logo_->resize(Pictures::logo().size());
    logo_->move((logoBox_->width() - logo_->width()) / 2 - 2,
                (logoBox_->height() - logo_->height()) / 2);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::createDiagramBoxes(QWidget *client) {
    isometricBox_ = new DrawBox(client);
    isometricBox_->setObjectName(QStringLiteral("picDraw1"));
    isometricBox_->setGeometry(px(TwipsRect{60, 420, 6795, 3615}));
    for (std::size_t i = 0; i < 4; ++i) {
        lengthLabels_[i] = valueLabel(isometricBox_, indexedName("lblValue", i),
                                      QString::fromLatin1(kLabelTexts[i]), kLabelRects[i]);
        lengthEdits_[i] = textBox(isometricBox_, indexedName("txtValue", i), kValueRects[i]);
        confirmButtons_[i] = new PictureButton(&Pictures::enter, isometricBox_);
        confirmButtons_[i]->setObjectName(indexedName("cmdEnter", i));
        confirmButtons_[i]->setGeometry(px(kEnterRects[i]));
        confirmButtons_[i]->setToolTip(tr("Enter"));
        // Enter and Tab confirm from the keyboard; as a tab stop the button
        // would take the focus while it hides itself.
        confirmButtons_[i]->setFocusPolicy(Qt::NoFocus);
    }

    // The hidden source pictures of the two diagrams.
    hiddenPicture(isometricBox_, QStringLiteral("imgProjector"));

    sideViewBox_ = new DrawBox(client);
    sideViewBox_->setObjectName(QStringLiteral("picDraw2"));
    sideViewBox_->setGeometry(px(TwipsRect{60, 4080, 6795, 1695}));
    offsetLabel_ = valueLabel(sideViewBox_, QStringLiteral("lblOffset"), QStringLiteral("Offset"),
                              {5400, 660, 420, 195});
    const std::array<TwipsRect, 2> offsetRects{{{5400, 840, 495, 285}, {6240, 840, 495, 285}}};
    for (std::size_t i = 0; i < 2; ++i) {
        offsetEdits_[i] = textBox(sideViewBox_, indexedName("txtOffset", i), offsetRects[i]);
        offsetEdits_[i]->setReadOnly(true);
        offsetEdits_[i]->setFocusPolicy(Qt::ClickFocus);
    }
    for (std::size_t i = 0; i < 2; ++i)
        hiddenPicture(sideViewBox_, indexedName("imgProjectorSide", i));
    tildeMark_ = new PictureLabel(&Pictures::tilde, sideViewBox_);
    tildeMark_->setObjectName(QStringLiteral("imgKara"));
    tildeMark_->setGeometry(px(TwipsRect{5820, 720, 480, 480}));
}

void MainWindow::createOptionFrames(QWidget *client) {
    unitFrame_ = new OptionFrame(client, "fraUnits", "Units", {6900, 420, 1935, 1035},
                                 {{"optUnits_0", "inches", {120, 240, 1750, 225}},
                                  {"optUnits_1", "Feet", {120, 480, 1750, 225}},
                                  {"optUnits_2", "centimeters", {120, 720, 1750, 225}}});
    zoomFrame_ = new OptionFrame(client, "fraWIDE", "WIDE / TELE", {6900, 1500, 1935, 795},
                                 {{"optWIDE_0", "WIDE", {120, 240, 1750, 225}},
                                  {"optWIDE_1", "TELE", {120, 480, 1750, 225}}});
    positionFrame_ =
        new OptionFrame(client, "fraPosition", "Position", {6900, 2340, 1935, 1095},
                        {{"optPosition_0", "Top of Screen", {120, 240, 1750, 375}},
                         {"optPosition_1", "Bottom of Screen", {120, 660, 1750, 375}}});
    aspectFrame_ =
        new OptionFrame(client, "fraAspect", "Aspect Ratio", {6900, 3480, 1935, 1575},
                        {{"optAspect_0", info(Aspect::Ratio4x3).label, {180, 1020, 915, 225}},
                         {"optAspect_1", info(Aspect::Ratio5x4).label, {180, 1260, 675, 225}},
                         {"optAspect_2", info(Aspect::Ratio16x9).label, {960, 1020, 795, 225}}});
    aspectSampleBox_ = new QLabel(aspectFrame_);
    aspectSampleBox_->setObjectName(QStringLiteral("lblAspectBox"));
    aspectSampleBox_->setFrameShape(QFrame::Box);
    aspectSample_ = new QLabel(QStringLiteral("Label1"), aspectFrame_);
    aspectSample_->setObjectName(QStringLiteral("lblAspect"));
    aspectSample_->setAlignment(Qt::AlignCenter);
    QPalette palette = aspectSample_->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    aspectSample_->setPalette(palette);
}

void MainWindow::createActions() {
    auto action = [this](const char *name, const char *caption, void (MainWindow::*handler)()) {
        auto *a = new QAction(QString::fromLatin1(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    openAction_ = action("mnuFileOpen", "&Open Calculate", &MainWindow::onFileOpen);
    saveAction_ = action("mnuFileSave", "&Save Calculate", &MainWindow::onFileSave);
    saveAsAction_ = action("mnuFileSaveAs", "Save&As Calculate", &MainWindow::onFileSaveAs);
    printAction_ = action("mnuFilePrint", "&Print Calculate", &MainWindow::onFilePrint);
    exportReportAction_ =
        action("mnuFileExportReport", "&Export report...", &MainWindow::onExportReport);
    quitAction_ = new QAction(QStringLiteral("&Quit"), this);
    quitAction_->setObjectName(QStringLiteral("mnuFileQuit"));
    connect(quitAction_, &QAction::triggered, this, &QWidget::close);
    modelInfoAction_ =
        action("mnuOptionModelInfo", "Select model info file...", &MainWindow::onModelInfo);
    plannerAction_ = action("mnuOptionPlanner", "&Installation planner...", &MainWindow::onPlanner);
    aboutAction_ = action("mnuAboutAbout", "&About", &MainWindow::onAbout);
    new PlannerEntries(session_, plannerAction_, exportReportAction_, this);
}

void MainWindow::createMenus() {
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("nmuFile"));
    fileMenu_->addAction(openAction_);
    fileMenu_->addSeparator()->setObjectName(QStringLiteral("mnuFileSplit1"));
    fileMenu_->addAction(saveAction_);
    fileMenu_->addAction(saveAsAction_);
    fileMenu_->addSeparator()->setObjectName(QStringLiteral("mnuFileSplit2"));
    fileMenu_->addAction(printAction_);
    fileMenu_->addAction(exportReportAction_);
    fileMenu_->addSeparator()->setObjectName(QStringLiteral("mnuFileSplit3"));
    fileMenu_->addAction(quitAction_);

    optionMenu_ = menuBar()->addMenu(QStringLiteral("&Option"));
    optionMenu_->setObjectName(QStringLiteral("mnuOption"));
    optionMenu_->addAction(modelInfoAction_);
    optionMenu_->addAction(plannerAction_);

    aboutMenu_ = menuBar()->addMenu(QStringLiteral("&About"));
    aboutMenu_->setObjectName(QStringLiteral("mnuAbout"));
    aboutMenu_->addAction(aboutAction_);
}

// The option groups' button ids are the codes of their choices.
template <typename Choice> void MainWindow::connectGroup(OptionFrame *frame) {
    connect(frame->group(), &QButtonGroup::idClicked, this, [this](int id) {
        const std::optional<Choice> choice = choiceOf<Choice>(id);
        if (!choice)
            return;
        // A zoom end or aspect ratio may be refused (its button is disabled then).
        if constexpr (std::is_void_v<decltype(session_.select(*choice))>)
            session_.select(*choice);
        else if (Result<void> chosen = session_.select(*choice); !chosen)
            showError(chosen.error());
    });
}

void MainWindow::connectControls() {
    connectGroup<Unit>(unitFrame_);
    connectGroup<Zoom>(zoomFrame_);
    connectGroup<Position>(positionFrame_);
    connectGroup<Aspect>(aspectFrame_);
    connect(modelCombo_, &QComboBox::activated, this,
            [this](int position) { session_.selectModel(position); });
    fieldEditor_ = new FieldEditor(session_, lengthEdits_, confirmButtons_, this);
}

} // namespace vistrel::app
