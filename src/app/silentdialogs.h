#pragma once

#include "app/dialogs.h"

namespace vistrel::app {

// Shows nothing, for the window drawn where nobody would click: vistrel-render,
// whose command line has reported every message already, and the benchmarks.
// Each question gets the answer Escape would give, no file is chosen, and
// every box that would have come up is counted, for those to whom one means
// the run went wrong.
class SilentDialogs : public Dialogs {
public:
    void message(QWidget *, const QString &) override { ++boxes_; }
    void error(QWidget *, const QString &) override { ++boxes_; }
    void warning(QWidget *, const QString &) override { ++boxes_; }
    bool confirm(QWidget *, const QString &, const QString &) override {
        ++boxes_;
        return false;
    }
    bool askYesNo(QWidget *, const QString &) override {
        ++boxes_;
        return false;
    }
    Unsaved askToSave(QWidget *, const QString &) override {
        ++boxes_;
        return Unsaved::Cancel;
    }
    QString showOpenDialog(QWidget *, const QString &, const QString &) override {
        ++boxes_;
        return QString();
    }
    QString showSaveDialog(QWidget *, const QString &, const QString &, const QString &) override {
        ++boxes_;
        return QString();
    }
    bool runDialog(QDialog &) override {
        ++boxes_;
        return false;
    }

    int boxesShown() const { return boxes_; }

private:
    int boxes_ = 0;
};

} // namespace vistrel::app
