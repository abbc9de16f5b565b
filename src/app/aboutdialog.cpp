#include "app/aboutdialog.h"

#include "app/pictures.h"
#include "app/plaintext.h"
#include "app/twips.h"
#include "app/uifont.h"

#include <QLabel>
#include <QPushButton>

namespace vistrel::app {

QString versionText(const QString &word, int major, int minor, int revision) {
    return QStringLiteral("%1 %2.%3%4").arg(word).arg(major).arg(minor).arg(revision);
}

AboutDialog::AboutDialog(const LanguageTexts &texts, QWidget *parent)
    : QDialog(parent), titleLabel_(new QLabel(this)), versionLabel_(new QLabel(this)),
      okButton_(new QPushButton(QStringLiteral("&OK"), this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(plainWindowTitle(texts.text(LangKey::Caption)));
    setFixedSize(px(4080), px(960));

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap(QStringLiteral(":/pictures/vistrel.png"))
                         .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    image->setGeometry(6, 8, 32, 32);
    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(
        QPixmap::fromImage(Pictures::logo().scaledToHeight(22, Qt::SmoothTransformation)));
    logo->setGeometry(px(660), 40, 80, 22);

    titleLabel_->setObjectName(QStringLiteral("lblTitle"));
    titleLabel_->setGeometry(px(TwipsRect{660, 120, 3330, 195}));
    titleLabel_->setFont(uiFont(titleLabel_->font(), texts));
    titleLabel_->setText(texts.text(LangKey::Caption));

    versionLabel_->setObjectName(QStringLiteral("lblVersion"));
    versionLabel_->setGeometry(px(TwipsRect{660, 360, 3360, 195}));
    versionLabel_->setText(versionText(texts.text(OptionalKey::VersionWord), VISTREL_VERSION_MAJOR,
                                       VISTREL_VERSION_MINOR, VISTREL_VERSION_REVISION));

    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setGeometry(px(TwipsRect{3120, 600, 915, 315}));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    showLabelsAsPlainText(this);
}

} // namespace vistrel::app
