#include "samewidgets.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>

#include <initializer_list>

namespace vistrel::bench {

namespace {

// A diagram box with nothing drawn in it.
class WhiteBox : public QWidget {
public:
    explicit WhiteBox(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent *event) override {
        QPainter(this).fillRect(event->rect(), Qt::white);
    }
};

QFont captionFont(const QWidget *w) {
    QFont font = w->font();
    font.setFamily(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8);
    return font;
}

template <typename W> W *named(W *w, const char *name, QRect geometry) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
    return w;
}

QLabel *valueLabel(QWidget *parent, const char *name, const char *text, QRect geometry) {
    auto *label = named(new QLabel(QLatin1String(text), parent), name, geometry);
    label->setFont(captionFont(label));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    label->setPalette(palette);
    return label;
}

QLineEdit *valueField(QWidget *parent, const char *name, const char *text, QRect geometry) {
    auto *edit = named(new QLineEdit(QLatin1String(text), parent), name, geometry);
    edit->setTextMargins(0, 0, 0, 0);
    return edit;
}

QToolButton *enterButton(QWidget *parent, const char *name, QRect geometry) {
    auto *button = named(new QToolButton(parent), name, geometry);
    button->setToolTip(QStringLiteral("Enter"));
    button->setFocusPolicy(Qt::NoFocus);
    button->hide();
    return button;
}

// One of the first diagram's values: its caption at `at`, the field below it
// and the Enter button at the field's right.
void valueEntry(QWidget *box, int index, const char *caption, const char *value, QPoint at,
                int captionWidth) {
    const QByteArray n = QByteArray::number(index);
    valueLabel(box, ("lblValue_" + n).constData(), caption, {at, QSize(captionWidth, 13)});
    valueField(box, ("txtValue_" + n).constData(), value, {at + QPoint(0, 13), QSize(37, 19)});
    enterButton(box, ("cmdEnter_" + n).constData(), {at + QPoint(39, 14), QSize(21, 17)});
}

void hiddenLabel(QWidget *parent, const char *name) {
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->hide();
}

struct Option {
    const char *name;
    const char *text;
    QRect geometry;
    bool checked;
};

QGroupBox *frame(QWidget *parent, const char *name, const char *title, QRect geometry,
                 std::initializer_list<Option> options) {
    auto *box = named(new QGroupBox(QLatin1String(title), parent), name, geometry);
    box->setFont(captionFont(box));
    auto *group = new QButtonGroup(box);
    for (const Option &o : options) {
        auto *button = named(new QRadioButton(QLatin1String(o.text), box), o.name, o.geometry);
        button->setChecked(o.checked);
        group->addButton(button);
    }
    return box;
}

void addMenus(QMainWindow *window) {
    const auto menu = [window](const char *name, const char *title,
                               std::initializer_list<const char *> actions) {
        QMenu *m = window->menuBar()->addMenu(QLatin1String(title));
        m->setObjectName(QLatin1String(name));
        for (const char *text : actions) {
            if (text)
                m->addAction(QLatin1String(text));
            else
                m->addSeparator();
        }
    };
    menu("nmuFile", "&File",
         {"&Open Calculate", nullptr, "&Save Calculate", "Save&As Calculate", nullptr,
          "&Print Calculate", "&Export report...", nullptr, "&Quit"});
    menu("mnuOption", "&Option",
         {"Select model info file...", "&Projectors...", "&Installation planner..."});
    menu("mnuAbout", "&About", {"&About"});
}

void addDiagramBoxes(QWidget *client) {
    QWidget *box1 = named(new WhiteBox(client), "picDraw1", {4, 28, 453, 241});
    valueEntry(box1, 0, "Projection Distance", "360", {198, 204}, 106);
    valueEntry(box1, 1, "Screen Size Diagonal", "300", {139, 5}, 116);
    valueEntry(box1, 2, "Width", "240", {326, 11}, 32);
    valueEntry(box1, 3, "Height", "180", {388, 101}, 38);
    hiddenLabel(box1, "imgProjector");

    QWidget *box2 = named(new WhiteBox(client), "picDraw2", {4, 272, 453, 113});
    valueLabel(box2, "lblOffset", "Offset", {360, 75, 35, 13});
    valueField(box2, "txtOffset_0", "14.4", {360, 88, 33, 19})->setReadOnly(true);
    QLineEdit *second = valueField(box2, "txtOffset_1", "0.0", {415, 88, 33, 19});
    second->setReadOnly(true);
    second->hide();
    hiddenLabel(box2, "imgProjectorSide_0");
    hiddenLabel(box2, "imgProjectorSide_1");
    named(new QLabel(box2), "imgKara", {388, 82, 32, 32})->hide();
}

void addOptionFrames(QWidget *client) {
    frame(client, "fraUnits", "Units", {460, 28, 129, 69},
          {{"optUnits_0", "inches", {8, 16, 116, 15}, true},
           {"optUnits_1", "Feet", {8, 32, 116, 15}, false},
           {"optUnits_2", "centimeters", {8, 48, 116, 15}, false}});
    frame(client, "fraWIDE", "WIDE / TELE", {460, 100, 129, 53},
          {{"optWIDE_0", "WIDE", {8, 16, 116, 15}, true},
           {"optWIDE_1", "TELE", {8, 32, 116, 15}, false}});
    frame(client, "fraPosition", "Position", {460, 156, 129, 73},
          {{"optPosition_0", "Top of Screen", {8, 16, 116, 25}, false},
           {"optPosition_1", "Bottom of Screen", {8, 44, 116, 25}, true}});
    QGroupBox *aspect = frame(client, "fraAspect", "Aspect Ratio", {460, 232, 218, 105},
                              {{"optAspect_0", "4 : 3", {12, 68, 61, 15}, true},
                               {"optAspect_1", "5 : 4", {12, 84, 45, 15}, false},
                               {"optAspect_2", "16 : 9", {64, 68, 53, 15}, false},
                               {"optAspect_3", "O&ther", {64, 84, 60, 15}, false}});
    named(new QLabel(aspect), "lblAspectBox", {32, 16, 65, 49})->setFrameShape(QFrame::Box);
    QLabel *sample =
        named(new QLabel(QStringLiteral("4 : 3"), aspect), "lblAspect", {44, 32, 41, 17});
    sample->setAlignment(Qt::AlignCenter);
    QPalette palette = sample->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    sample->setPalette(palette);
    auto *formats = named(new QComboBox(aspect->parentWidget()), "cboFormat", {586, 292, 86, 21});
    formats->addItems({QStringLiteral("16 : 10"), QStringLiteral("17 : 9"),
                       QStringLiteral("1.85 : 1"), QStringLiteral("2.00 : 1"),
                       QStringLiteral("2.39 : 1"), QStringLiteral("2.76 : 1"),
                       QStringLiteral("Custom...")});
    formats->setEnabled(false);
    valueField(aspect, "txtFormat", "16 : 10", {126, 82, 86, 19})->setEnabled(false);
}

} // namespace

std::unique_ptr<QMainWindow> sameWidgetsWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(QStringLiteral("frmMain"));
    window->setWindowTitle(QStringLiteral("Vistrel Projection Distance Calculator[*]"));
    auto *client = new QWidget(window.get());
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(683, 389);
    window->setCentralWidget(client);

    for (int i = 0; i < 2; ++i) {
        auto *line =
            named(new QFrame(client), i == 0 ? "lineMenu_0" : "lineMenu_1", {0, i, 683, 1});
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window,
                         palette.color(i == 0 ? QPalette::Dark : QPalette::Light));
        line->setPalette(palette);
    }
    QLabel *model = named(new QLabel(QStringLiteral("Model"), client), "lblModel", {4, 8, 33, 13});
    model->setFont(captionFont(model));
    auto *models = named(new QComboBox(client), "cboModel", {40, 4, 549, 21});
    models->addItems(
        {QStringLiteral("Aster 1500"), QStringLiteral("Aster 2000"), QStringLiteral("Brisa ST6"),
         QStringLiteral("Brisa LT25"), QStringLiteral("Corvin 720"), QStringLiteral("Corvin 900M"),
         QStringLiteral("Dalmar HD2"), QStringLiteral("Dalmar HD3"), QStringLiteral("Elowen P4"),
         QStringLiteral("Elowen P1"), QStringLiteral("Fenwick Q8"), QStringLiteral("Fenwick Q9"),
         QStringLiteral("Galen Mini"), QStringLiteral("Halden WU6")});
    model->setBuddy(models);

    addDiagramBoxes(client);
    addOptionFrames(client);

    QLabel *logoBox = named(new QLabel(client), "picLogo", {460, 340, 129, 45});
    const QPixmap logo(QStringLiteral(":/pictures/logo.png"));
    named(new QLabel(logoBox), "imgLogo", QRect(QPoint(2, 4), logo.size()))->setPixmap(logo);

    addMenus(window.get());
    for (QLabel *label : window->findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    return window;
}

} // namespace vistrel::bench
