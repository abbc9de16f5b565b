#include "windowdriver.h"

#include "app/drawbox.h"
#include "core/apppaths.h"
#include "testcatalogues.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

using vistrel::AppPaths;
using vistrel::Session;
using vistrel::app::MainWindow;

WindowDriver::WindowDriver() {
    QObject::connect(&modalWatch_, &QTimer::timeout, &modalWatch_, [this] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            closedModals_.append(modal->objectName());
            modal->close();
        }
    });
    modalWatch_.start(50);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

void WindowDriver::click(QWidget *w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
}

void WindowDriver::type(QLineEdit *edit, const QString &typed, Qt::Key key) {
    click(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, key);
}

bool WindowDriver::setUp() {
    dialogs_ = ScriptedDialogs();
    closedModals_.clear();
    userData_.clear();
    dir_ = std::make_unique<QTemporaryDir>();
    if (!dir_->isValid() || !config_.isValid()) {
        qWarning("no temporary folder: %s",
                 qPrintable(dir_->isValid() ? config_.errorString() : dir_->errorString()));
        return false;
    }
    return QDir::setCurrent(dir_->path());
}

bool WindowDriver::write(const QString &name, const QByteArray &bytes) const {
    if (writeFile(path(name), bytes))
        return true;
    qWarning("cannot write %s", qPrintable(path(name)));
    return false;
}

bool WindowDriver::copyShipped(const QString &name) const {
    if (QFile::copy(QStringLiteral(VISTREL_DATA_DIR "/") + name, path(name)))
        return true;
    qWarning("cannot copy the shipped %s", qPrintable(name));
    return false;
}

bool WindowDriver::setUpWindow(const QByteArray &catalogue) {
    return setUp() && write(QStringLiteral("ModelInfo.ini"), catalogue) &&
           copyShipped(QStringLiteral("Language.ini")) && openWindow();
}

MainWindow::StartResult WindowDriver::startWindow(QChar decimalPoint) {
    window_.reset();
    session_ = std::make_unique<Session>(decimalPoint);
    window_ = std::make_unique<MainWindow>(*session_, dialogs_);
    return window_->start(AppPaths::resolve(dir_->path(), userData_));
}

bool WindowDriver::openWindow(QChar decimalPoint) {
    const MainWindow::StartResult started = startWindow(decimalPoint);
    if (started != MainWindow::StartResult::Ready) {
        qWarning("the window did not start (%d): %s", int(started),
                 qPrintable((dialogs_.messages + dialogs_.errors).join(u" | ")));
        return false;
    }
    window_->show();
    return QTest::qWaitForWindowActive(window_.get());
}

QString WindowDriver::tearDown() {
    window_.reset();
    QStringList said;
    if (dialogs_.unexpected > 0)
        said << QStringLiteral("%1 unscripted: %2")
                    .arg(dialogs_.unexpected)
                    .arg((dialogs_.asked + dialogs_.questions).join(u" | "));
    for (const QString &name : closedModals_)
        said << QStringLiteral("modal window %1").arg(name);
    return said.join(u"; ");
}

QLineEdit *WindowDriver::field(int i) const {
    return child<QLineEdit>(QStringLiteral("txtValue_%1").arg(i));
}

QStringList WindowDriver::fieldTexts() const {
    return {text(0), text(1), text(2), text(3)};
}

QRadioButton *WindowDriver::option(const char *name) const {
    return child<QRadioButton>(QLatin1String(name));
}

QComboBox *WindowDriver::models() const {
    return child<QComboBox>(QStringLiteral("cboModel"));
}

QImage WindowDriver::image(const char *box) const {
    return child<vistrel::app::DrawBox>(QLatin1String(box))->image();
}

void WindowDriver::chooseModel(int index) {
    QComboBox *box = models();
    box->setFocus(Qt::TabFocusReason);
    while (box->currentIndex() != index) {
        const int before = box->currentIndex();
        QTest::keyClick(box, index > before ? Qt::Key_Down : Qt::Key_Up);
        if (box->currentIndex() == before) { // at an end of the list: no such model
            qWarning("no model %d of %d", index, box->count());
            return;
        }
    }
}

void WindowDriver::trigger(const char *action) {
    child<QAction>(QLatin1String(action))->trigger();
}

void WindowDriver::trigger(const char *action, const QString &answer) {
    dialogs_.answers.enqueue(answer);
    trigger(action);
}
