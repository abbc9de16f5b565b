#pragma once

#include "calc/projectorsheet.h"
#include "core/apperror.h"
#include "core/perzoom.h"

#include <QStringList>
#include <QWidget>

#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace vistrel {
class Session;
}

namespace vistrel::app {

class ZoomEndFields;

// A projector in the terms of its data sheet, as the user reads or types it:
// each field with its unit and a hint, and beside each what the engine
// warns of or refuses. The fields make a ProjectorSheet; the session makes
// the model of it (recordOf), anew at every change.
class ProjectorForm : public QWidget {
    Q_OBJECT

public:
    ProjectorForm(const Session &session, QWidget *parent);
    ~ProjectorForm() override;

    // Shows `sheet`, to read only or to edit.
    void showSheet(const ProjectorSheet &sheet, bool editable);
    bool editable() const { return editable_; }
    // The sheet the fields hold, and the model the session makes of it, with
    // its warnings, or the refusal.
    const ProjectorSheet &sheet() const { return sheet_; }
    const Result<SheetRecord> &checked() const { return checked_; }
    // Whether it can be saved: every number readable and the model made.
    bool savable() const { return checked_.ok() && unreadable_.isEmpty(); }
    // A refusal of saving (a name another own model has) beside its field.
    void showRefusal(const AppError &error);
    QWidget *firstField() const;

signals:
    // checked() was made anew from the fields.
    void checkedAgain();

private:
    void createGeneral(QGridLayout *grid, int &row);
    void createEnds(QGridLayout *grid, int &row);
    void createLight(QGridLayout *grid, int &row);
    QLineEdit *field(const char *name, OptionalKey hint);
    QLabel *caption(OptionalKey key, QWidget *buddy);
    QLabel *addNote(QGridLayout *grid, int &row, const char *name,
                    std::initializer_list<const char *> terms);
    void orderTabs(QGridLayout *grid);
    void showHintOf(QWidget *focused);
    ProjectorSheet readFields();
    void check();
    void showNotes(const std::optional<AppError> &refusal);

    const Session &session_;
    QChar point_;
    bool editable_ = false;
    ProjectorSheet shown_; // what was shown, for what no field holds
    ProjectorSheet sheet_;
    Result<SheetRecord> checked_;
    QStringList unreadable_; // terms of fields that hold no number

    QLineEdit *name_ = nullptr;
    QLineEdit *pixelsWide_ = nullptr;
    QLineEdit *pixelsHigh_ = nullptr;
    QLabel *panelShape_ = nullptr;
    QCheckBox *fixedLens_ = nullptr;
    PerZoom<ZoomEndFields *> ends_;
    QLineEdit *lumens_ = nullptr;
    QComboBox *teleLightKind_ = nullptr;
    QLineEdit *teleLight_ = nullptr;
    QLineEdit *contrast_ = nullptr;
    QCheckBox *mirrored_ = nullptr;
    QLabel *hint_ = nullptr;
    // Which label shows what the engine says of a term: the one table from
    // ModelWarning::term (and a refusal's) to the fields.
    std::vector<std::pair<QString, QLabel *>> notes_;
};

} // namespace vistrel::app
