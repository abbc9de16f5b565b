#include "printdialog.h"

#include "app/twips.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vistrel::app {

PrintDialog::PrintDialog(Dialogs &dialogs, const LanguageTexts &texts, QWidget *parent)
    : QDialog(parent), dialogs_(dialogs), lblPrint_(new QLabel(this)),
      lstPrinter_(new QListWidget(this)), cmdPrint_(new QPushButton(this)),
      cmdCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmPrint"));
    setFixedSize(px(5415), px(2595));
    setWindowTitle(texts.text(LangKey::Lbl18));

    lblPrint_->setObjectName(QStringLiteral("lblPrint"));
    lblPrint_->setGeometry(px(TwipsRect{120, 60, 4395, 255}));
    lblPrint_->setText(texts.text(LangKey::Lbl19));
    lstPrinter_->setObjectName(QStringLiteral("lstPrinter"));
    lstPrinter_->setGeometry(px(TwipsRect{120, 300, 5235, 1815}));
    lblPrint_->setBuddy(lstPrinter_);
    cmdPrint_->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint_->setGeometry(px(TwipsRect{3120, 2220, 1095, 315}));
    cmdPrint_->setText(texts.text(LangKey::Lbl20));
    cmdPrint_->setEnabled(false);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(px(TwipsRect{4260, 2220, 1095, 315}));
    cmdCancel_->setText(texts.text(LangKey::Lbl21));

    QFont font = lblPrint_->font();
    font.setFamily(texts.text(LangKey::FontName));
    if (texts.fontSize > 0)
        font.setPointSizeF(texts.fontSize);
    for (QWidget *w :
         std::initializer_list<QWidget *>{lblPrint_, lstPrinter_, cmdPrint_, cmdCancel_})
        w->setFont(font);

    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace vistrel::app
