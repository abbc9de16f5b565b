#include "app/optionframe.h"

namespace vistrel::app {

OptionFrame::OptionFrame(QWidget *parent, const char *objectName, const char *caption,
                         TwipsRect geometry, const std::vector<Option> &options)
    : QGroupBox(QString::fromLatin1(caption), parent), group_(new QButtonGroup(this)) {
    setObjectName(QString::fromLatin1(objectName));
    setGeometry(px(geometry));
    int id = 0;
    for (const Option &option : options) {
        auto *button = new QRadioButton(QString::fromLatin1(option.caption), this);
        button->setObjectName(QString::fromLatin1(option.objectName));
        button->setGeometry(px(option.geometry));
        group_->addButton(button, id++);
        buttons_.push_back(button);
    }
}

void OptionFrame::showSelected(int id) {
    if (group_->checkedId() != id) {
        if (id < 0 || id >= count()) {
            group_->setExclusive(false);
            for (QRadioButton *b : buttons_)
                b->setChecked(false);
            group_->setExclusive(true);
        } else {
            button(id)->setChecked(true);
        }
    }
    keepTabOnChecked();
}

// Tab enters the group at its checked button and the arrow keys move within
// it. Qt arranges this only when a button gets the focus, not when the
// selection changes from code, so a group never entered would take Tab on
// its first button.
void OptionFrame::keepTabOnChecked() {
    const bool anyChecked = group_->checkedButton() != nullptr;
    for (QRadioButton *b : buttons_) {
        const bool tabStop = !anyChecked || b->isChecked();
        b->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

} // namespace vistrel::app
