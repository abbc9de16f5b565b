#pragma once

#include "app/twips.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

#include <vector>

namespace vistrel::app {

// A frame of option buttons whose button ids are the option codes.
class OptionFrame : public QGroupBox {
    Q_OBJECT

public:
    struct Option {
        const char *objectName;
        const char *caption;
        TwipsRect geometry;
    };

    OptionFrame(QWidget *parent, const char *objectName, const char *caption, TwipsRect geometry,
                const std::vector<Option> &options);

    QButtonGroup *group() const { return group_; }
    QRadioButton *button(int id) const { return buttons_.at(static_cast<std::size_t>(id)); }
    int count() const { return static_cast<int>(buttons_.size()); }
    // Shows `id` selected (-1: none) without running any handler.
    void showSelected(int id);

private:
    void keepTabOnChecked();

    QButtonGroup *group_;
    std::vector<QRadioButton *> buttons_;
};

} // namespace vistrel::app
