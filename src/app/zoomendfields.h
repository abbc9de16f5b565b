#pragma once

#include "calc/projectorsheet.h"
#include "core/choices.h"

#include <QObject>
#include <QStringList>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace vistrel {
struct LanguageTexts;
}

namespace vistrel::app {

// The fields of one zoom end in the projector form: its lens as a throw
// ratio or a formula, its offset as "offset N %" or a lens-shift range, and
// the screen sizes it focuses. The form lays the cells out beside the other
// end's, one row each.
class ZoomEndFields : public QObject {
    Q_OBJECT

public:
    enum class Cell {
        LensKind,
        Throw,
        Formula,
        FormulaShape,
        FormulaUnits,
        LensNote,
        OffsetKind,
        Offset,
        Shift,
        OffsetNote,
        Sizes,
        SizesShape,
        SizesNote,
    };
    static constexpr int kCellCount = 13;

    ZoomEndFields(Zoom zoom, const LanguageTexts &texts, QChar decimalPoint, QWidget *form);

    QWidget *cell(Cell which) const { return cells_[static_cast<std::size_t>(which)]; }
    // The label beside a group of fields that says what is wrong with them.
    QLabel *note(Cell which) const;

    void show(const ProjectorSheet &sheet);
    // This end's part of `sheet`, whose pixels are read already; the terms
    // of fields whose text is no number are added to `unreadable`.
    void readInto(ProjectorSheet &sheet, QStringList &unreadable) const;
    void setEditable(bool editable);
    // TELE of a fixed lens has no fields.
    void setInUse(bool inUse);

signals:
    // The user changed a field.
    void edited();

private:
    void createLens(const LanguageTexts &texts, QWidget *form);
    void createOffset(const LanguageTexts &texts, QWidget *form);
    void createSizes(const LanguageTexts &texts, QWidget *form);
    QLineEdit *numberField(const char *name, QWidget *parent);
    QComboBox *shapeList(const char *name, const LanguageTexts &texts, QWidget *parent);
    // Which of the lens's and the offset's fields the kinds chosen use.
    void showKinds();
    QString term(const char *base) const;

    Zoom zoom_;
    QChar point_;
    bool editable_ = false;
    bool inUse_ = true;
    std::array<QWidget *, kCellCount> cells_{};

    QComboBox *lensKind_ = nullptr;
    QLineEdit *throw_ = nullptr;
    QLineEdit *formulaA_ = nullptr;
    QLineEdit *formulaB_ = nullptr;
    QComboBox *formulaShape_ = nullptr;
    QComboBox *diagonalUnit_ = nullptr;
    QComboBox *distanceUnit_ = nullptr;
    QComboBox *offsetKind_ = nullptr;
    QLineEdit *offset_ = nullptr;
    QLineEdit *shiftLow_ = nullptr;
    QLineEdit *shiftHigh_ = nullptr;
    QLineEdit *sizeMin_ = nullptr;
    QLineEdit *sizeMax_ = nullptr;
    QComboBox *sizesShape_ = nullptr;
};

} // namespace vistrel::app
