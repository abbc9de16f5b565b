#include "app/projectorpreview.h"

#include "app/uifont.h"
#include "calc/pictureonpanel.h"
#include "core/helpers.h"
#include "core/numbers.h"
#include "core/pictureformat.h"
#include "session/session.h"

#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <cmath>

namespace vistrel::app {

namespace {

// Tenths, so that a throw ratio typed to two decimals shows.
constexpr int kDistanceDecimals = 1;

} // namespace

ProjectorPreview::ProjectorPreview(const Session &session, QWidget *parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("frmPreview"));
    const LanguageTexts &texts = session_.texts();
    auto *layout = new QVBoxLayout(this);
    heading_ = headingLabel(QString(), this);
    heading_->setObjectName(QStringLiteral("lblPreview"));
    heading_->setWordWrap(true);
    layout->addWidget(heading_);
    auto *form = new QFormLayout;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        distances_[zoom] = new QLabel(this);
        distances_[zoom]->setObjectName(QStringLiteral("valPreview_%1").arg(codeOf(zoom)));
        distances_[zoom]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(withoutMnemonic(texts.text(info(zoom).caption)).simplified(),
                     distances_[zoom]);
    }
    layout->addLayout(form);
    layout->addWidget(headingLabel(texts.text(OptionalKey::WarningsHeading), this));
    warnings_ = new QListWidget(this);
    warnings_->setObjectName(QStringLiteral("lstWarnings"));
    warnings_->setAccessibleName(texts.text(OptionalKey::WarningsHeading));
    warnings_->setWordWrap(true);
    layout->addWidget(warnings_, 1);
}

void ProjectorPreview::showModel(const ProjectorSheet &sheet, const Result<SheetRecord> &checked) {
    const double panel = checked ? panelAspect(checked->record) : sheetPanelAspect(sheet);
    heading_->setText(replaceText(session_.texts().text(OptionalKey::PreviewHeading),
                                  QStringLiteral("%1"), ratioLabel(panel)));
    const Unit unit = session_.state().unit;
    for (const Zoom zoom : {Zoom::Wide, Zoom::Tele}) {
        const std::optional<QuotedThrow> quoted =
            checked ? quotedThrow(checked->record, zoom) : std::nullopt;
        const double shown = quoted ? fromInches(quoted->distance, unit) : 0;
        distances_[zoom]->setText(
            quoted && std::isfinite(shown)
                ? formatFixed(shown, kDistanceDecimals, session_.decimalPoint()) + u' ' +
                      QLatin1String(info(unit).cli)
                : QStringLiteral("—"));
    }
    QStringList lines;
    if (!checked)
        lines << checked.error().description;
    else
        for (const ModelWarning &warning : checked->warnings)
            lines << warning.text;
    warnings_->clear();
    warnings_->addItems(lines);
}

} // namespace vistrel::app
