#include "print/report.h"

#include "files/filewriter.h"
#include "print/pdfdocument.h"
#include "print/roompainter.h"
#include "print/windowprinter.h"
#include "session/sheet.h"

#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace vistrel::print {

namespace {

// The resolution the sheet is laid out in; the window's picture keeps its pixels.
constexpr int kDpi = 1200;
constexpr qreal kMillimetre = kDpi / 25.4;
constexpr qreal kGap = 5 * kMillimetre;           // between the blocks of a page
constexpr qreal kLineGap = 0.8 * kMillimetre;     // between two lines of a list
constexpr qreal kIndent = 3 * kMillimetre;        // lines under a heading
constexpr qreal kCellPadding = 1.5 * kMillimetre; // between two columns of a table
constexpr qreal kCaptionGap = 3 * kMillimetre;    // between a caption and its value
constexpr qreal kMaxCaptionShare = 0.6;           // of a column, the rest for the values
constexpr qreal kTitlePoints = 14, kHeadingPoints = 10, kBodyPoints = 9, kLabelPoints = 7;
// A drawing takes the page's width and its own proportion, but no more
// height than leaves the other drawing and a few seat rows room under the
// room's figures; a page's rest lower than the least is left for the next page.
constexpr qreal kDrawingMostHeight = 75 * kMillimetre;
constexpr qreal kDrawingLeastHeight = 40 * kMillimetre;
constexpr qreal kUnbounded = 1e6; // a height no text of the sheet reaches
constexpr int kWrap = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

AppError drawingFailed() {
    return makeError(ErrorNumber::DeviceIoError,
                     QStringLiteral("Device I/O error: the report cannot be drawn"));
}

struct Fonts {
    QFont title, heading, body, bold, label;
};

Fonts fontsOf(const QString &family) {
    const auto font = [&family](qreal points, bool bold) {
        QFont f(family);
        f.setPointSizeF(points);
        f.setBold(bold);
        // Without ligatures, "Offset" is found and copied as it is written.
        f.setStyleStrategy(QFont::PreferNoShaping);
        return f;
    };
    return {font(kTitlePoints, true), font(kHeadingPoints, true), font(kBodyPoints, false),
            font(kBodyPoints, true), font(kLabelPoints, false)};
}

// The room a text takes in `width`, broken into lines at its spaces.
QRectF textRect(QPainter &p, qreal left, qreal top, qreal width, const QString &text) {
    return p.boundingRect(QRectF(left, top, std::max<qreal>(width, 1), kUnbounded), kWrap, text);
}

// A title over a list of captions and values, each heading in bold where a
// new one begins, and the notes beneath them; a list without a title
// begins with its lines. Returns the height it takes; draws only when asked to.
class LineList {
public:
    LineList(const Fonts &fonts, const SheetSection &section)
        : fonts_(fonts), title_(section.title), lines_(section.lines) {
        // A note is a caption without a value: as wide as the captions may be.
        for (const QString &note : section.notes)
            lines_.push_back({QString(), note, QString()});
    }

    qreal lay(QPainter &p, const QRectF &column, bool draw) const {
        qreal y = column.top();
        if (!title_.isEmpty()) {
            p.setFont(fonts_.heading);
            y += put(p, textRect(p, column.left(), y, column.width(), title_), title_, draw) +
                 kLineGap;
        }
        const qreal captionWidth = captionColumn(p, column.width());
        // Lines headed by the title itself (the room's) do not repeat it.
        QString heading = title_;
        for (const SheetLine &line : lines_) {
            if (!line.heading.isEmpty() && line.heading != heading) {
                p.setFont(fonts_.bold);
                y += put(p, textRect(p, column.left(), y, column.width(), line.heading),
                         line.heading, draw) +
                     kLineGap;
            }
            heading = line.heading;
            const qreal indent = heading.isEmpty() ? 0 : kIndent;
            p.setFont(fonts_.body);
            const qreal left = column.left() + indent;
            const qreal caption = put(p, textRect(p, left, y, captionWidth - indent, line.caption),
                                      line.caption, draw);
            const qreal value = put(p,
                                    textRect(p, column.left() + captionWidth, y,
                                             column.width() - captionWidth, line.value),
                                    line.value, draw);
            y += std::max(caption, value) + kLineGap;
        }
        return y - column.top();
    }

private:
    qreal put(QPainter &p, const QRectF &rect, const QString &text, bool draw) const {
        if (draw)
            p.drawText(rect, kWrap, text);
        return rect.height();
    }

    // As wide as the longest caption and a gap, but leaving the values their share.
    qreal captionColumn(QPainter &p, qreal width) const {
        p.setFont(fonts_.body);
        qreal widest = 0;
        for (const SheetLine &line : lines_)
            widest = std::max(widest, textRect(p, 0, 0, kUnbounded, line.caption).width() +
                                          (line.heading.isEmpty() ? 0 : kIndent));
        return std::min(widest + kCaptionGap, width * kMaxCaptionShare);
    }

    const Fonts &fonts_;
    QString title_;
    std::vector<SheetLine> lines_;
};

// Page 1: the title and the title block, the window's picture, and beneath
// it the calculation and the planner side by side. The picture gives way to the text.
void drawFirstPage(QPainter &p, const QRectF &page, const QPixmap &window, const Sheet &sheet,
                   const Fonts &fonts) {
    p.setFont(fonts.title);
    const QRectF titleRect = textRect(p, page.left(), page.top(), page.width(), sheet.title);
    p.drawText(titleRect, kWrap, sheet.title);
    qreal pictureTop = titleRect.bottom() + kGap;
    if (!sheet.titleBlock.empty()) {
        const LineList titleBlock(fonts, {QString(), sheet.titleBlock, {}});
        pictureTop +=
            titleBlock.lay(p, QRectF(page.left(), pictureTop, page.width(), kUnbounded), true) +
            kGap;
    }

    const LineList calculation(fonts, sheet.calculation);
    const LineList planner(fonts, sheet.planner);
    const qreal columnWidth = (page.width() - kGap) / 2;
    const QRectF left(page.left(), 0, columnWidth, kUnbounded);
    const QRectF right(page.left() + columnWidth + kGap, 0, columnWidth, kUnbounded);
    const qreal textHeight =
        std::max(calculation.lay(p, left, false), planner.lay(p, right, false));

    const qreal pictureRoom = std::max<qreal>(page.bottom() - pictureTop - kGap - textHeight, 1);
    const QRect picture = drawWindowImage(
        p, window, QRectF(page.left(), pictureTop, page.width(), pictureRoom).toAlignedRect());
    const qreal textTop = picture.bottom() + kGap;
    calculation.lay(p, left.translated(0, textTop), true);
    planner.lay(p, right.translated(0, textTop), true);
}

// A table under its title, the title and column headers again on every
// page it goes on to: the throw chart on pages of its own, the seat rows
// under the room's drawings, the light's tables under its lines.
class TablePages {
public:
    TablePages(QPainter &p, QPdfWriter &writer, const QRectF &page, const SheetTable &table,
               const QFont &titleFont, const Fonts &fonts)
        : p_(p), writer_(writer), page_(page), titleFont_(titleFont), fonts_(fonts), table_(table) {
    }

    // From `top` of the page in hand, or from the next page's top when not
    // even the headers and a row fit beneath it. Returns where it ends, for
    // what follows it on the same page.
    [[nodiscard]] Result<qreal> draw(qreal top) {
        p_.setFont(fonts_.body);
        const qreal rowHeight = p_.fontMetrics().height() * 1.25;
        if (top > page_.top() && head(top, false) + rowHeight > page_.bottom()) {
            if (!writer_.newPage())
                return drawingFailed();
            top = page_.top();
        }
        qreal y = head(top, true);
        for (const QStringList &cells : table_.rows) {
            // A cell wider than its column breaks at its spaces instead of
            // running into its neighbour.
            p_.setFont(fonts_.body);
            qreal height = rowHeight;
            for (qsizetype i = 0; i < cells.size(); ++i)
                height = std::max(
                    height, p_.boundingRect(cell(i, 0, kUnbounded), kCellFlags, cells[i]).height());
            if (y + height > page_.bottom()) {
                if (!writer_.newPage())
                    return drawingFailed();
                y = head(page_.top(), true);
                p_.setFont(fonts_.body);
            }
            for (qsizetype i = 0; i < cells.size(); ++i)
                p_.drawText(cell(i, y, height), kCellFlags, cells[i]);
            y += height;
        }
        return y;
    }

private:
    static constexpr int kCellFlags = Qt::AlignRight | Qt::AlignVCenter | Qt::TextWordWrap;

    qreal columnWidth() const { return page_.width() / qreal(table_.headers.size()); }
    QRectF cell(qsizetype column, qreal y, qreal height) const {
        return QRectF(page_.left() + qreal(column) * columnWidth(), y, columnWidth() - kCellPadding,
                      height);
    }

    // The title, what the table is of and the headers from `y`; returns
    // where the rows begin. Draws only when asked to.
    qreal head(qreal y, bool draw) {
        p_.setFont(titleFont_);
        QRectF r = textRect(p_, page_.left(), y, page_.width(), table_.title);
        if (draw)
            p_.drawText(r, kWrap, table_.title);
        y = r.bottom() + kLineGap;
        if (!table_.subject.isEmpty()) {
            p_.setFont(fonts_.heading);
            r = textRect(p_, page_.left(), y, page_.width(), table_.subject);
            if (draw)
                p_.drawText(r, kWrap, table_.subject);
            y = r.bottom();
        }
        y += kGap;

        p_.setFont(fonts_.bold);
        qreal headerHeight = 0;
        for (qsizetype i = 0; i < table_.headers.size(); ++i)
            headerHeight = std::max(headerHeight, p_.boundingRect(cell(i, y, kUnbounded),
                                                                  Qt::AlignRight | Qt::TextWordWrap,
                                                                  table_.headers[i])
                                                      .height());
        for (qsizetype i = 0; draw && i < table_.headers.size(); ++i)
            p_.drawText(cell(i, y, headerHeight),
                        Qt::AlignRight | Qt::AlignBottom | Qt::TextWordWrap, table_.headers[i]);
        y += headerHeight + kLineGap;
        if (draw)
            p_.drawLine(QPointF(page_.left(), y), QPointF(page_.right(), y));
        return y + kLineGap;
    }

    QPainter &p_;
    QPdfWriter &writer_;
    QRectF page_;
    const QFont &titleFont_;
    const Fonts &fonts_;
    const SheetTable &table_;
};

// The room's own page: its figures beside its checks, the elevation and the
// plan as wide as the page, each under its heading, and the seat rows;
// what does not fit goes on to the next page.
class RoomPages {
public:
    RoomPages(QPainter &p, QPdfWriter &writer, const QRectF &page, const Sheet &sheet,
              const Fonts &fonts)
        : p_(p), writer_(writer), page_(page), sheet_(sheet), fonts_(fonts) {}

    [[nodiscard]] Result<void> draw() {
        const LineList figures(fonts_, {sheet_.room.title, sheet_.room.lines, {}});
        const qreal columnWidth = (page_.width() - kGap) / 2;
        const qreal figuresEnd =
            page_.top() +
            figures.lay(p_, QRectF(page_.left(), page_.top(), columnWidth, kUnbounded), true);
        bool wentOn = false;
        qreal y = 0;
        VISTREL_TRY_ASSIGN(y, checks(page_.left() + columnWidth + kGap, columnWidth, wentOn));
        y = (wentOn ? y : std::max(y, figuresEnd)) + kGap;
        VISTREL_TRY_ASSIGN(y, drawing(y, sheet_.elevationHeading, sheet_.elevation));
        VISTREL_TRY_ASSIGN(y, drawing(y, sheet_.planHeading, sheet_.plan));
        if (sheet_.seats.rows.empty())
            return {};
        TablePages seats(p_, writer_, page_, sheet_.seats, fonts_.heading, fonts_);
        VISTREL_TRY(seats.draw(y));
        return {};
    }

private:
    // The checks in a column at `left` from the page's top; as every row may
    // fail one, they go on to the next page when the rest of this one is too
    // low (`wentOn`). Returns where they end.
    [[nodiscard]] Result<qreal> checks(qreal left, qreal width, bool &wentOn) {
        p_.setFont(fonts_.heading);
        QRectF r = textRect(p_, left, page_.top(), width, sheet_.checksHeading);
        p_.drawText(r, kWrap, sheet_.checksHeading);
        qreal y = r.bottom() + kLineGap;
        p_.setFont(fonts_.body);
        for (const QString &note : sheet_.room.notes) {
            r = textRect(p_, left, y, width, note);
            if (r.bottom() > page_.bottom()) {
                if (!writer_.newPage())
                    return drawingFailed();
                wentOn = true;
                r = textRect(p_, left, page_.top(), width, note);
            }
            p_.drawText(r, kWrap, note);
            y = r.bottom() + kLineGap;
        }
        return y;
    }

    // `drawing` under `heading` from `y`, on the next page when the rest of
    // this one is too low for it; returns where the page goes on.
    [[nodiscard]] Result<qreal> drawing(qreal y, const QString &heading, const RoomDrawing &d) {
        const qreal width = d.right - d.left, height = d.top - d.bottom;
        if (d.isEmpty() || !(width > 0 && height > 0))
            return y;
        p_.setFont(fonts_.heading);
        const qreal headingHeight = textRect(p_, page_.left(), y, page_.width(), heading).height();
        const qreal wanted = std::min(page_.width() * height / width, kDrawingMostHeight);
        if (page_.bottom() - y - headingHeight - kLineGap < std::min(wanted, kDrawingLeastHeight)) {
            if (!writer_.newPage())
                return drawingFailed();
            y = page_.top();
        }
        p_.drawText(QRectF(page_.left(), y, page_.width(), headingHeight), kWrap, heading);
        const qreal boxTop = y + headingHeight + kLineGap;
        const QRectF box(page_.left(), boxTop, page_.width(),
                         std::min(wanted, page_.bottom() - boxTop));
        paintRoomDrawing(p_, d, box, fonts_.label);
        return box.bottom() + kGap;
    }

    QPainter &p_;
    QPdfWriter &writer_;
    QRectF page_;
    const Sheet &sheet_;
    const Fonts &fonts_;
};

// The light budget's page: the light source's age, the half-gain angle and
// the rows outside its cone, then the targets and the room's viewing tasks
// under them, each going on to the next page when this one is full. A sheet
// without a model has no tables, and a table without columns has no width
// to share.
[[nodiscard]] Result<void> drawLightPages(QPainter &p, QPdfWriter &writer, const QRectF &page,
                                          const Sheet &sheet, const Fonts &fonts) {
    const LineList light(fonts, sheet.light);
    qreal y = page.top() +
              light.lay(p, QRectF(page.left(), page.top(), page.width(), kUnbounded), true) + kGap;
    for (const SheetTable *table : {&sheet.targets, &sheet.tasks}) {
        if (table->headers.isEmpty())
            continue;
        TablePages pages(p, writer, page, *table, fonts.heading, fonts);
        VISTREL_TRY_ASSIGN(y, pages.draw(y));
        y += kGap;
    }
    return {};
}

} // namespace

QPageLayout reportPageLayout() {
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

Result<QByteArray> reportPdf(QWidget &window, const Sheet &sheet, const QPageLayout &layout) {
    // Qt renders the widget tree off-screen, diagrams included.
    const QPixmap picture = window.grab();
    PdfDocument document(kDpi, layout);
    QPdfWriter &writer = document.writer();
    writer.setTitle(sheet.title);
    QPainter painter;
    if (picture.isNull() || !painter.begin(&writer))
        return drawingFailed();
    const QRectF page(document.page());
    const Fonts fonts = fontsOf(sheet.fontName);
    drawFirstPage(painter, page, picture, sheet, fonts);
    if (sheet.hasRoom()) {
        if (!writer.newPage())
            return drawingFailed();
        RoomPages room(painter, writer, page, sheet, fonts);
        VISTREL_TRY(room.draw());
    }
    if (!writer.newPage())
        return drawingFailed();
    VISTREL_TRY(drawLightPages(painter, writer, page, sheet, fonts));
    if (!writer.newPage())
        return drawingFailed();
    TablePages chart(painter, writer, page, sheet.chart, fonts.title, fonts);
    VISTREL_TRY(chart.draw(page.top()));
    if (!painter.end())
        return drawingFailed();
    return document.bytes();
}

Result<void> writeReport(const QString &path, QWidget &window, const Sheet &sheet) {
    QByteArray pdf;
    VISTREL_TRY_ASSIGN(pdf, reportPdf(window, sheet, reportPageLayout()));
    return writeFileAtomically(path, pdf);
}

} // namespace vistrel::print
