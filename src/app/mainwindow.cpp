#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/diagrampainter.h"
#include "app/dialogs.h"
#include "app/drawbox.h"
#include "app/fieldeditor.h"
#include "app/formatchooser.h"
#include "app/optionalentries.h"
#include "app/optionframe.h"
#include "app/picturebutton.h"
#include "app/picturelabel.h"
#include "app/pictures.h"
#include "app/plaintext.h"
#include "app/plannermemory.h"
#include "app/plannerwindow.h"
#include "app/printmodule.h"
#include "app/projectorswindow.h"
#include "app/twips.h"
#include "app/uifont.h"

#include "core/helpers.h"
#include "print/report.h"
#include "session/calculationfile.h"
#include "session/sheet.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace vistrel::app {

namespace {

constexpr QSize kClientSize(px(10245), px(5835));

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
    // Before the widgets it watches: a field that has the keyboard finishes
    // its edit as the window goes.
    delete formatChooser_;
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
    // Other's list and field stand beside the sample and the options.
    aspectFrame_ =
        new OptionFrame(client, "fraAspect", "Aspect Ratio", {6900, 3480, 3270, 1575},
                        {{"optAspect_0", info(Aspect::Ratio4x3).label, {180, 1020, 915, 225}},
                         {"optAspect_1", info(Aspect::Ratio5x4).label, {180, 1260, 675, 225}},
                         {"optAspect_2", info(Aspect::Ratio16x9).label, {960, 1020, 795, 225}},
                         {"optAspect_3", "Other", {960, 1260, 900, 225}}});
    aspectSampleBox_ = new QLabel(aspectFrame_);
    aspectSampleBox_->setObjectName(QStringLiteral("lblAspectBox"));
    aspectSampleBox_->setFrameShape(QFrame::Box);
    aspectSample_ = new QLabel(QStringLiteral("Label1"), aspectFrame_);
    aspectSample_->setObjectName(QStringLiteral("lblAspect"));
    aspectSample_->setAlignment(Qt::AlignCenter);
    QPalette palette = aspectSample_->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    aspectSample_->setPalette(palette);
    // On the client, as the model list is, over the frame: a list whose font
    // changes (as the frame's does once the texts are read) builds its popup
    // there and then, half a megabyte nobody may ever open.
    formatList_ = new QComboBox(client);
    formatList_->setObjectName(QStringLiteral("cboFormat"));
    formatList_->setGeometry(px(TwipsRect{6900 + 1890, 3480 + 900, 1290, 315}));
    formatEdit_ = textBox(aspectFrame_, QStringLiteral("txtFormat"), {1890, 1230, 1290, 285});
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
    projectorsAction_ = action("mnuOptionProjectors", "&Projectors...", &MainWindow::onProjectors);
    aboutAction_ = action("mnuAboutAbout", "&About", &MainWindow::onAbout);
    new OptionalEntries(session_,
                        {{plannerAction_, OptionalKey::MenuPlanner},
                         {projectorsAction_, OptionalKey::MenuProjectors},
                         {exportReportAction_, OptionalKey::MenuExportReport}},
                        this);
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
    optionMenu_->addAction(projectorsAction_);
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
        shown(session_.select(*choice));
    });
}

void MainWindow::connectControls() {
    connectGroup<Unit>(unitFrame_);
    connectGroup<Zoom>(zoomFrame_);
    connectGroup<Position>(positionFrame_);
    connectGroup<Aspect>(aspectFrame_);
    connect(modelCombo_, &QComboBox::activated, this,
            [this](int position) { shown(session_.selectModel(position)); });
    fieldEditor_ = new FieldEditor(session_, lengthEdits_, confirmButtons_, this);
    formatChooser_ =
        new FormatChooser(session_, dialogs_, aspectFrame_, formatList_, formatEdit_, this);
}

// Start-up of the calculator window and its texts from Language.ini.

namespace {

SizeF sizeOf(const QWidget *w) {
    return {double(w->width()), double(w->height())};
}

// A translated caption may need more room than the design gave it; the
// diagrams place the labels by their real size.
void fitLabel(QLabel *label) {
    label->resize(label->size().expandedTo(label->sizeHint()));
}

} // namespace

MainWindow::StartResult MainWindow::start(const AppPaths &paths) {
    const LanguageLoad &language = session_.readTexts(paths);
    const bool complete = applyLanguage(language);
    if (language.error) {
        dialogs_.error(this, language.error->boxText());
        return StartResult::Failed;
    }
    if (!complete) {
        dialogs_.message(this, kLanguageErrorMessage);
        return StartResult::LanguageError;
    }
    setWindowTitle(plainWindowTitle(appTitle()) + QStringLiteral("[*]"));
    nameControlsForScreenReaders();
    measureForTheDiagrams();
    // Before the start, so the inputs kept from the last run are part of the
    // unchanged calculation, and a project file opened later replaces them.
    recallPlannerSettings(session_);
    if (Result<void> started = session_.start(); !started) {
        showError(started.error());
        return StartResult::Failed;
    }
    showModified();
    return StartResult::Ready;
}

void MainWindow::showSession() {
    applyLanguage(session_.language());
    setWindowTitle(plainWindowTitle(appTitle()) + QStringLiteral("[*]"));
    nameControlsForScreenReaders();
    measureForTheDiagrams();
    controlsChanged();
    shown(session_.redraw());
}

// The diagrams place the fields, buttons and labels by their real sizes.
void MainWindow::measureForTheDiagrams() {
    IsometricMetrics iso;
    iso.box = sizeOf(isometricBox_);
    for (std::size_t i = 0; i < 4; ++i) {
        iso.value[i] = sizeOf(lengthEdits_[i]);
        iso.enter[i] = sizeOf(confirmButtons_[i]);
        iso.label[i] = sizeOf(lengthLabels_[i]);
    }
    SideMetrics side;
    side.box = sizeOf(sideViewBox_);
    side.offset = {sizeOf(offsetEdits_[0]), sizeOf(offsetEdits_[1])};
    side.tilde = sizeOf(tildeMark_);
    side.offsetLabelHeight = offsetLabel_->height();
    session_.setMetrics(iso, side);
}

// Applies the texts in the order they are read, so that when a key is
// missing everything read before it is already in place.
bool MainWindow::applyLanguage(const LanguageLoad &load) {
    const auto has = [&load](LangKey key) { return static_cast<int>(key) < load.keysRead; };
    const auto text = [&load](LangKey key) { return load.texts.text(key); };

    const std::array<std::pair<LangKey, QMenu *>, 3> menus{{{LangKey::FileMenu, fileMenu_},
                                                            {LangKey::OptionMenu, optionMenu_},
                                                            {LangKey::AboutMenu, aboutMenu_}}};
    const std::array<std::pair<LangKey, QAction *>, 7> actions{{
        {LangKey::OpenCommand, openAction_},
        {LangKey::SaveCommand, saveAction_},
        {LangKey::SaveAsCommand, saveAsAction_},
        {LangKey::PrintCommand, printAction_},
        {LangKey::QuitCommand, quitAction_},
        {LangKey::ModelInfoCommand, modelInfoAction_},
        {LangKey::AboutCommand, aboutAction_},
    }};
    for (const auto &[key, menu] : menus)
        if (has(key))
            menu->setTitle(text(key));
    for (const auto &[key, action] : actions)
        if (has(key))
            action->setText(text(key));
    formatChooser_->showTexts(load.texts);
    if (!has(LangKey::ModelCaption))
        return false;

    applyUiFont();
    const std::array<std::pair<LangKey, QWidget *>, 12> captions{{
        {LangKey::ModelCaption, modelLabel_},
        {LangKey::UnitsCaption, unitFrame_},
        {LangKey::InchesCaption, unitFrame_->button(0)},
        {LangKey::FeetCaption, unitFrame_->button(1)},
        {LangKey::CentimetersCaption, unitFrame_->button(2)},
        {LangKey::ZoomCaption, zoomFrame_},
        {LangKey::WideCaption, zoomFrame_->button(0)},
        {LangKey::TeleCaption, zoomFrame_->button(1)},
        {LangKey::PositionCaption, positionFrame_},
        {LangKey::TopCaption, positionFrame_->button(0)},
        {LangKey::BottomCaption, positionFrame_->button(1)},
        {LangKey::AspectCaption, aspectFrame_},
    }};
    for (const auto &[key, widget] : captions) {
        if (!has(key))
            return false;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            label->setText(text(key));
            fitLabel(label);
        } else if (auto *frame = qobject_cast<QGroupBox *>(widget))
            frame->setTitle(text(key));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(text(key));
    }
    const std::array<std::pair<LangKey, QLabel *>, 5> labels{
        {{LangKey::DistanceCaption, lengthLabels_[0]},
         {LangKey::DiagonalCaption, lengthLabels_[1]},
         {LangKey::WidthCaption, lengthLabels_[2]},
         {LangKey::HeightCaption, lengthLabels_[3]},
         {LangKey::OffsetCaption, offsetLabel_}}};
    for (const auto &[key, label] : labels) {
        if (!has(key))
            return false;
        label->setText(
            labelWithBreaks(text(key)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        fitLabel(label);
    }
    return load.complete();
}

// The option buttons take the font from their frames.
void MainWindow::applyUiFont() {
    const std::array<QWidget *, 10> controls{
        modelLabel_,      unitFrame_,       zoomFrame_,       positionFrame_,   aspectFrame_,
        lengthLabels_[0], lengthLabels_[1], lengthLabels_[2], lengthLabels_[3], offsetLabel_};
    const QFont font = uiFont(modelLabel_->font(), texts());
    for (QWidget *w : controls)
        w->setFont(font);
}

// How the calculator window shows what the engine reports.

namespace {

int pixel(double value) {
    // NaN passes a clamp; it places nothing anywhere sensible, so at 0.
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::lround(std::clamp(value, -1e6, 1e6)));
}

void place(QWidget *widget, const PlaceF &at) {
    widget->move(pixel(at.left), pixel(at.top));
}

void showText(QLineEdit *edit, const QString &text) {
    if (edit->text() != text)
        edit->setText(text);
}

QRect twipsRect(double left, double top, double width, double height) {
    return QRect(pixel(left / kTwipsPerPixel), pixel(top / kTwipsPerPixel),
                 pixel(width / kTwipsPerPixel), pixel(height / kTwipsPerPixel));
}

} // namespace

void MainWindow::showMessage(const QString &text) {
    dialogs_.message(this, text);
}

void MainWindow::showError(const AppError &error) {
    dialogs_.error(this, localizedBoxText(error, texts()));
}

void MainWindow::showWarnings(const QString &heading, const QStringList &lines) {
    dialogs_.warning(this, headedList(heading, lines));
}

void MainWindow::fieldsChanged() {
    const Controls &c = session_.controls();
    for (std::size_t i = 0; i < lengthEdits_.size(); ++i)
        showText(lengthEdits_[i], c.fieldText[i]);
    for (std::size_t i = 0; i < offsetEdits_.size(); ++i)
        showText(offsetEdits_[i], c.offsetText[i]);
    describeDiagrams();
    showModified();
}

namespace {

// The option id a group shows: the choice's code, -1 for none.
template <typename Choice> int idOf(const std::optional<Choice> &choice) {
    return choice ? codeOf(*choice) : -1;
}

} // namespace

void MainWindow::controlsChanged() {
    const Controls &c = session_.controls();
    unitFrame_->showSelected(idOf(c.unit));
    zoomFrame_->showSelected(idOf(c.zoom));
    positionFrame_->showSelected(idOf(c.position));
    for (const ZoomInfo &row : kZoomEnds)
        zoomFrame_->button(codeOf(row.zoom))
            ->setEnabled(c.zoomEnabled[static_cast<std::size_t>(row.zoom)]);
    formatChooser_->showControls(c);

    // Rebuilt only when the catalogue changed: a list of 1000 models is not
    // compared on every refresh.
    if (shownModelList_ != c.modelListVersion || modelCombo_->count() != c.modelItems.size()) {
        modelCombo_->clear();
        for (qsizetype i = 0; i < c.modelItems.size(); ++i)
            modelCombo_->addItem(c.modelItems.at(i), c.modelItemData[static_cast<std::size_t>(i)]);
        shownModelList_ = c.modelListVersion;
    }
    modelCombo_->setCurrentIndex(c.modelSelected);
    if (c.otherChosen)
        showAspectSample(c.otherFormat);
    else if (c.aspect)
        showAspectSample(formatOf(*c.aspect));
    showModified();
}

// The sample keeps its centre, and its width shows the shape at the design's
// height; a format too wide for the frame keeps the frame's width and gives
// up height instead.
void MainWindow::showAspectSample(const PictureFormat &format) {
    // The design, in twips of the frame: the box and the caption centred in it.
    constexpr double kBoxLeft = 120, kBoxRoom = 1695, kBoxTop = 240, kBoxHeight = 735;
    constexpr double kCaptionWidth = 615, kCaptionHeight = 255;
    const double ratio = format.ratio();
    const bool fits = kBoxHeight * ratio <= kBoxRoom;
    const double width = fits ? std::nearbyint(kBoxHeight * ratio) : kBoxRoom;
    const double height = fits ? kBoxHeight : std::nearbyint(kBoxRoom / ratio);
    const double left = kBoxLeft + (kBoxRoom - width) / 2;
    const double top = kBoxTop + (kBoxHeight - height) / 2;
    aspectSampleBox_->setGeometry(twipsRect(left, top, width, height));
    aspectSample_->setText(formatLabel(format));
    // A typed format's label may be longer than the design's caption.
    const double captionWidth =
        std::max(kCaptionWidth, double(aspectSample_->sizeHint().width() * kTwipsPerPixel));
    aspectSample_->setGeometry(twipsRect((width - captionWidth) / 2 + left,
                                         (height - kCaptionHeight) / 2 + top, captionWidth,
                                         kCaptionHeight));
}

void MainWindow::isometricChanged() {
    const std::optional<IsometricGeometry> &g = session_.calculator().isometric();
    if (g) {
        for (std::size_t i = 0; i < 4; ++i) {
            place(lengthEdits_[i], g->value[i]);
            place(confirmButtons_[i], g->enter[i]);
            place(lengthLabels_[i], g->label[i]);
        }
    }
    if (isometricBox_->holdsDrawing() && drawnIsometric_ == g)
        return;
    DrawnArea drawn = isometricBox_->startDrawing();
    if (g)
        paintIsometric(isometricBox_->image(), *g, kit_, drawn);
    isometricBox_->finishDrawing(drawn);
    drawnIsometric_ = g;
}

void MainWindow::sideViewChanged() {
    showModified(); // the position is part of the calculation
    const std::optional<SideGeometry> &g = session_.calculator().sideView();
    if (g) {
        offsetEdits_[1]->setVisible(g->showSecondOffset);
        tildeMark_->setVisible(g->showSecondOffset);
        place(offsetEdits_[0], g->offset[0]);
        place(offsetEdits_[1], g->offset[1]);
        place(tildeMark_, g->tilde);
        place(offsetLabel_, g->label);
    }
    // The fields' texts were described with them; the side view adds the
    // position and whether the second offset shows.
    if (describedSide_ != sideFacts())
        describeDiagrams();
    if (sideViewBox_->holdsDrawing() && drawnSide_ == g)
        return;
    DrawnArea drawn = sideViewBox_->startDrawing();
    if (g)
        paintSideView(sideViewBox_->image(), *g, kit_, drawn);
    sideViewBox_->finishDrawing(drawn);
    drawnSide_ = g;
}

// The File, Option and About menus of the calculator window.

namespace {
const QString kModelFileFilter = QStringLiteral("ModelFile (*.ini)");
const QString kReportFilter = QStringLiteral("PDF (*.pdf)");

// The two kinds of calculation, the project file first: it holds every
// calculation. Open also shows every file, since it reads a file by what it
// holds; Save As writes the kind whose ending the name has.
enum class CalculationDialog { Open, Save };
QString calculationFilter(const LanguageTexts &texts, CalculationDialog dialog) {
    QStringList filters{texts.text(OptionalKey::ProjectFiles) + QStringLiteral(" (*.vistrel)"),
                        texts.text(OptionalKey::CalcFiles) + QStringLiteral(" (*.cf)")};
    if (dialog == CalculationDialog::Open)
        filters << QCoreApplication::translate("QFileDialog", "All Files (*)");
    return filters.join(QStringLiteral(";;"));
}
} // namespace

void MainWindow::showCaption(const QString &fileName) {
    setWindowTitle(plainWindowTitle(captionWithFile(appTitle(), fileName)) + QStringLiteral("[*]"));
    showModified();
}

void MainWindow::showModified() {
    setWindowModified(session_.modified());
}

bool MainWindow::mayDropChanges() {
    if (!fieldEditor_->confirmPending())
        return false;
    if (!session_.modified())
        return true;
    switch (dialogs_.askToSave(this, texts().text(OptionalKey::UnsavedChanges))) {
    case Dialogs::Unsaved::Discard:
        return true;
    case Dialogs::Unsaved::Cancel:
        return false;
    case Dialogs::Unsaved::Save:
        saveWith(SaveKind::Save);
        return !session_.modified();
    }
    return false;
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (mayDropChanges())
        event->accept();
    else
        event->ignore();
}

void MainWindow::onFileOpen() {
    if (!mayDropChanges())
        return;
    const QString path = dialogs_.showOpenDialog(
        this, calculationFilter(texts(), CalculationDialog::Open), QDir::currentPath());
    if (path.isEmpty())
        return;
    if (Result<void> opened = session_.open(path); !opened) {
        showError(opened.error());
        return;
    }
    showCaption(path);
}

void MainWindow::saveWith(SaveKind kind) {
    if (!fieldEditor_->confirmPending())
        return;
    bool named = false;
    const auto askName = [this] {
        return dialogs_.showSaveDialog(this, calculationFilter(texts(), CalculationDialog::Save),
                                       QDir::currentPath(), QStringLiteral("vistrel"));
    };
    // The session offers the project file where a calculation file cannot
    // hold the picture. A project file of that name already there is the
    // user's to replace or not, in the dialog that asks about it.
    const auto offerProjectFile = [this](const QString &projectName) -> QString {
        if (!dialogs_.askYesNo(this, texts().text(OptionalKey::CalcFileCannotHold)))
            return {};
        if (!QFileInfo::exists(projectName))
            return projectName;
        return dialogs_.showSaveDialog(this, calculationFilter(texts(), CalculationDialog::Save),
                                       projectName, QStringLiteral("vistrel"));
    };
    const Result<void> saved = session_.save(kind, askName, &named, offerProjectFile);
    if (named)
        showCaption(session_.currentFile());
    if (!saved)
        showError(saved.error());
    showModified();
}

void MainWindow::onFileSave() {
    saveWith(SaveKind::Save);
}

void MainWindow::onFileSaveAs() {
    saveWith(SaveKind::SaveAs);
}

void MainWindow::onFilePrint() {
    if (!fieldEditor_->confirmPending())
        return;
    const Result<PrinterWindow> printerWindow =
        loadPrinterWindow(QCoreApplication::applicationDirPath());
    if (!printerWindow) {
        showError(printerWindow.error());
        return;
    }
    printerWindow->show(*this, dialogs_, texts());
}

void MainWindow::onExportReport() {
    if (!fieldEditor_->confirmPending())
        return;
    const QString path =
        dialogs_.showSaveDialog(this, kReportFilter, QDir::currentPath(), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    if (Result<void> written = print::writeReport(path, *this, composeSheet(session_)); !written)
        showError(written.error());
}

void MainWindow::onModelInfo() {
    const QString path = dialogs_.showOpenDialog(this, kModelFileFilter, QDir::currentPath());
    if (path.isEmpty())
        return;
    const auto confirm = [this](const QString &title, const QString &question) {
        return dialogs_.confirm(this, title, question);
    };
    if (Result<void> switched = session_.switchCatalogue(path, confirm); !switched)
        showError(switched.error());
}

void MainWindow::onPlanner() {
    if (!planner_)
        planner_ = new PlannerWindow(session_, dialogs_, this);
    planner_->present();
}

void MainWindow::onProjectors() {
    if (!projectors_)
        projectors_ = new ProjectorsWindow(session_, dialogs_, this);
    projectors_->present();
}

void MainWindow::onAbout() {
    AboutDialog dialog(texts());
    dialog.exec();
}

// What a screen reader hears: the controls by their captions, the drawings
// by the numbers they show.

namespace {

// A caption as spoken: one line, without the underline mark of a shortcut.
QString spoken(const QString &caption) {
    return withoutMnemonic(caption).simplified();
}

} // namespace

void MainWindow::nameControlsForScreenReaders() {
    modelCombo_->setAccessibleName(spoken(modelLabel_->text()));
    for (std::size_t i = 0; i < lengthEdits_.size(); ++i)
        lengthEdits_[i]->setAccessibleName(spoken(lengthLabels_[i]->text()));
    for (std::size_t i = 0; i < offsetEdits_.size(); ++i)
        offsetEdits_[i]->setAccessibleName(
            QStringLiteral("%1 %2").arg(spoken(offsetLabel_->text())).arg(i + 1));
    for (OptionFrame *frame : {unitFrame_, zoomFrame_, positionFrame_, aspectFrame_})
        for (int i = 0; i < frame->count(); ++i)
            frame->button(i)->setAccessibleName(spoken(frame->button(i)->text()));
    formatList_->setAccessibleName(spoken(texts().text(OptionalKey::FormatListName)));
    formatEdit_->setAccessibleName(spoken(texts().text(OptionalKey::CustomFormat)));
    isometricBox_->setAccessibleName(texts().text(OptionalKey::IsometricName));
    sideViewBox_->setAccessibleName(texts().text(OptionalKey::SideViewName));
}

MainWindow::SideFacts MainWindow::sideFacts() const {
    return {session_.controls().position, offsetEdits_[1]->isVisibleTo(sideViewBox_)};
}

void MainWindow::describeDiagrams() {
    const Controls &c = session_.controls();
    describedSide_ = sideFacts();
    const QString unit = spoken(unitFrame_->button(codeOf(c.unit.value_or(Unit::Inches)))->text());
    QStringList lengths;
    for (std::size_t i = 0; i < lengthEdits_.size(); ++i)
        lengths << QStringLiteral("%1: %2 %3")
                       .arg(spoken(lengthLabels_[i]->text()), c.fieldText[i], unit);
    isometricBox_->setAccessibleDescription(lengths.join(QStringLiteral(", ")));

    QString offsets = c.offsetText[0];
    if (describedSide_->secondOffset)
        offsets += QStringLiteral(" ~ ") + c.offsetText[1];
    sideViewBox_->setAccessibleDescription(
        QStringLiteral("%1: %2, %3: %4 %5")
            .arg(spoken(positionFrame_->title()),
                 spoken(
                     positionFrame_->button(codeOf(c.position.value_or(Position::Bottom)))->text()),
                 spoken(offsetLabel_->text()), offsets, unit));
}

} // namespace vistrel::app
