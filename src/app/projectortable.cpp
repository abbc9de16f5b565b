#include "app/projectortable.h"

#include "calc/pictureonpanel.h"
#include "calc/projectorsheet.h"
#include "core/numbers.h"
#include "core/pictureformat.h"
#include "session/session.h"

#include <QHeaderView>

#include <array>

namespace vistrel::app {

namespace {

enum Column { NameColumn, SourceColumn, WideColumn, TeleColumn, OffsetColumn, PanelColumn };
constexpr int kColumnCount = 6;
constexpr int kRatioDecimals = 2;

QString offsetText(const SheetOffset &offset, QChar point) {
    if (offset.high)
        return formatGeneral(offset.low, point) + QStringLiteral(" … ") +
               formatGeneral(*offset.high, point);
    return formatGeneral(offsetPercentOf(offset.low / 100), point);
}

// "offset N %", or the lens-shift range; TELE's after WIDE's where it differs.
QString offsetsText(const ModelRecord &model, QChar point) {
    const ProjectorSheet sheet = sheetOf(model);
    QString text = offsetText(sheet.offset[Zoom::Wide], point);
    if (model.hasTele() && model.hasWide() && sheet.offset[Zoom::Tele] != sheet.offset[Zoom::Wide])
        text += QStringLiteral(" / ") + offsetText(sheet.offset[Zoom::Tele], point);
    else if (!model.hasWide())
        text = offsetText(sheet.offset[Zoom::Tele], point);
    return text + QStringLiteral(" %");
}

QString panelText(const ModelRecord &model, QChar point) {
    const QString shape = ratioLabel(panelAspect(model));
    if (!model.hasPanelPixels())
        return shape;
    return QStringLiteral("%1 × %2, %3")
        .arg(formatGeneral(model.panelWidthPx, point), formatGeneral(model.panelHeightPx, point),
             shape);
}

QString ratioText(const ModelRecord &model, Zoom zoom, QChar point) {
    const std::optional<QuotedThrow> quoted = quotedThrow(model, zoom);
    return quoted ? formatFixed(quoted->throwRatio, kRatioDecimals, point) : QString();
}

} // namespace

ProjectorTable::ProjectorTable(const Session &session, QWidget *parent)
    : QTableWidget(0, kColumnCount, parent), session_(session) {
    setObjectName(QStringLiteral("tblModels"));
    const LanguageTexts &texts = session_.texts();
    const QString ratio = texts.text(OptionalKey::SheetThrowRatio) + u'\n';
    setHorizontalHeaderLabels({
        withoutMnemonic(texts.text(OptionalKey::NameCaption)),
        texts.text(OptionalKey::SourceCaption),
        ratio + withoutMnemonic(texts.text(LangKey::WideCaption)).simplified(),
        ratio + withoutMnemonic(texts.text(LangKey::TeleCaption)).simplified(),
        texts.text(OptionalKey::OffsetColumn),
        texts.text(OptionalKey::Panel),
    });
    setAccessibleName(withoutMnemonic(texts.text(OptionalKey::ModelsPage)));
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the list for the buttons instead of walking its cells.
    setTabKeyNavigation(false);
    setWordWrap(false);
}

bool ProjectorTable::showModels() {
    const Controls &controls = session_.controls();
    if (shownVersion_ == controls.modelListVersion)
        return false;
    shownVersion_ = controls.modelListVersion;
    const std::optional<int> selected = selectedModel();
    const QString selectedName = selected ? item(*selected, NameColumn)->text() : QString();
    const std::vector<ModelRecord> &models = session_.calculator().models();
    const QChar point = session_.decimalPoint();
    const LanguageTexts &texts = session_.texts();
    setRowCount(static_cast<int>(models.size()));
    int again = -1;
    for (std::size_t i = 0; i < models.size(); ++i) {
        const ModelRecord &model = models[i];
        const int row = static_cast<int>(i);
        const std::array<QString, kColumnCount> cells{
            model.name,
            texts.text(session_.isOwnModel(row) ? OptionalKey::OwnSource
                                                : OptionalKey::CatalogueSource),
            ratioText(model, Zoom::Wide, point),
            ratioText(model, Zoom::Tele, point),
            offsetsText(model, point),
            panelText(model, point),
        };
        for (int c = 0; c < kColumnCount; ++c) {
            auto *cell = new QTableWidgetItem(cells[static_cast<std::size_t>(c)]);
            if (c == WideColumn || c == TeleColumn)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(row, c, cell);
        }
        if (again < 0 && model.name == selectedName)
            again = row;
    }
    resizeColumnsToContents();
    if (again >= 0)
        selectModel(again);
    return true;
}

std::optional<int> ProjectorTable::selectedModel() const {
    const QList<QTableWidgetItem *> chosen = selectedItems();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first()->row();
}

void ProjectorTable::selectModel(int listPosition) {
    if (listPosition < 0 || listPosition >= rowCount())
        return;
    setCurrentCell(listPosition, NameColumn);
    scrollToItem(item(listPosition, NameColumn));
}

} // namespace vistrel::app
