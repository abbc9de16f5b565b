#include "print/report.h"

#include "files/filewriter.h"
#include "print/pdfdocument.h"
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
constexpr qreal kCellPadding = 1.5 * kMillimetre; // between two columns of the chart
constexpr qreal kCaptionGap = 3 * kMillimetre;    // between a caption and its value
constexpr qreal kMaxCaptionShare = 0.6;           // of a column, the rest for the values
constexpr qreal kTitlePoints = 14, kHeadingPoints = 10, kBodyPoints = 9;
constexpr qreal kUnbounded = 1e6; // a height no text of the sheet reaches
constexpr int kWrap = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

AppError drawingFailed() {
    return makeError(ErrorNumber::DeviceIoError,
                     QStringLiteral("Device I/O error: the report cannot be drawn"));
}

struct Fonts {
    QFont title, heading, body, bold;
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
            font(kBodyPoints, true)};
}

// The room a text takes in `width`, broken into lines at its spaces.
QRectF textRect(QPainter &p, qreal left, qreal top, qreal width, const QString &text) {
    return p.boundingRect(QRectF(left, top, std::max<qreal>(width, 1), kUnbounded), kWrap, text);
}

// A title over a list of captions and values, each heading in bold where a
// new one begins, and the notes beneath them. Returns the height it takes;
// draws only when asked to.
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
        p.setFont(fonts_.heading);
        y += put(p, textRect(p, column.left(), y, column.width(), title_), title_, draw) + kLineGap;
        const qreal captionWidth = captionColumn(p, column.width());
        QString heading;
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

// Page 1: the title, the window's picture, and beneath it the calculation
// and the planner side by side. The picture gives way to the text.
void drawFirstPage(QPainter &p, const QRectF &page, const QPixmap &window, const Sheet &sheet,
                   const Fonts &fonts) {
    p.setFont(fonts.title);
    const QRectF titleRect = textRect(p, page.left(), page.top(), page.width(), sheet.title);
    p.drawText(titleRect, kWrap, sheet.title);

    const LineList calculation(fonts, sheet.calculation);
    const LineList planner(fonts, sheet.planner);
    const qreal columnWidth = (page.width() - kGap) / 2;
    const QRectF left(page.left(), 0, columnWidth, kUnbounded);
    const QRectF right(page.left() + columnWidth + kGap, 0, columnWidth, kUnbounded);
    const qreal textHeight =
        std::max(calculation.lay(p, left, false), planner.lay(p, right, false));

    const qreal pictureTop = titleRect.bottom() + kGap;
    const qreal pictureRoom = std::max<qreal>(page.bottom() - pictureTop - kGap - textHeight, 1);
    const QRect picture = drawWindowImage(
        p, window, QRectF(page.left(), pictureTop, page.width(), pictureRoom).toAlignedRect());
    const qreal textTop = picture.bottom() + kGap;
    calculation.lay(p, left.translated(0, textTop), true);
    planner.lay(p, right.translated(0, textTop), true);
}

// The throw chart as a table, its title and column headers on every page.
class ChartPages {
public:
    ChartPages(QPainter &p, QPdfWriter &writer, const QRectF &page, const SheetTable &table,
               const Fonts &fonts)
        : p_(p), writer_(writer), page_(page), fonts_(fonts), table_(table) {}

    [[nodiscard]] Result<void> draw() {
        p_.setFont(fonts_.body);
        const qreal rowHeight = p_.fontMetrics().height() * 1.25;
        qreal y = top();
        for (const QStringList &cells : table_.rows) {
            if (y + rowHeight > page_.bottom()) {
                if (!writer_.newPage())
                    return drawingFailed();
                y = top();
            }
            p_.setFont(fonts_.body);
            for (qsizetype i = 0; i < cells.size(); ++i)
                p_.drawText(cell(i, y, rowHeight), Qt::AlignRight | Qt::AlignVCenter, cells[i]);
            y += rowHeight;
        }
        return {};
    }

private:
    qreal columnWidth() const { return page_.width() / qreal(table_.headers.size()); }
    QRectF cell(qsizetype column, qreal y, qreal height) const {
        return QRectF(page_.left() + qreal(column) * columnWidth(), y, columnWidth() - kCellPadding,
                      height);
    }

    // The title, what the chart is of and the headers; returns where the rows begin.
    qreal top() {
        qreal y = page_.top();
        p_.setFont(fonts_.title);
        QRectF r = textRect(p_, page_.left(), y, page_.width(), table_.title);
        p_.drawText(r, kWrap, table_.title);
        y = r.bottom() + kLineGap;
        p_.setFont(fonts_.heading);
        r = textRect(p_, page_.left(), y, page_.width(), table_.subject);
        p_.drawText(r, kWrap, table_.subject);
        y = r.bottom() + kGap;

        p_.setFont(fonts_.bold);
        qreal headerHeight = 0;
        for (qsizetype i = 0; i < table_.headers.size(); ++i)
            headerHeight = std::max(headerHeight, p_.boundingRect(cell(i, y, kUnbounded),
                                                                  Qt::AlignRight | Qt::TextWordWrap,
                                                                  table_.headers[i])
                                                      .height());
        for (qsizetype i = 0; i < table_.headers.size(); ++i)
            p_.drawText(cell(i, y, headerHeight),
                        Qt::AlignRight | Qt::AlignBottom | Qt::TextWordWrap, table_.headers[i]);
        y += headerHeight + kLineGap;
        p_.drawLine(QPointF(page_.left(), y), QPointF(page_.right(), y));
        return y + kLineGap;
    }

    QPainter &p_;
    QPdfWriter &writer_;
    QRectF page_;
    const Fonts &fonts_;
    const SheetTable &table_;
};

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
    if (!writer.newPage())
        return drawingFailed();
    ChartPages chart(painter, writer, page, sheet.chart, fonts);
    VISTREL_TRY(chart.draw());
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
