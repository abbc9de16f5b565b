#pragma once

#include "core/language.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vistrel::app {

// "Version 1.23": the word in the user's language, major, ".", then minor and
// revision joined without a separator.
QString versionText(const QString &word, int major, int minor, int revision);

// The About window: the program's title and version.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(const LanguageTexts &texts, QWidget *parent = nullptr);

private:
    QLabel *titleLabel_;
    QLabel *versionLabel_;
    QPushButton *okButton_;
};

} // namespace vistrel::app
