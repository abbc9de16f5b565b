#include "cli/clioptions.h"

namespace vistrel::cli {

const CliOption *optionNamed(QStringView name) {
    for (const CliOption &option : kOptions) {
        if (name == QLatin1String(option.name) ||
            (option.alias != nullptr && name == QLatin1String(option.alias)))
            return &option;
    }
    return nullptr;
}

QString nameOf(OptionId id) {
    for (const CliOption &option : kOptions) {
        if (option.id == id)
            return QLatin1String(option.name);
    }
    Q_UNREACHABLE();
}

QString usageLabel(const CliOption &option) {
    const QString name = QLatin1String(option.name);
    switch (option.argument) {
    case Argument::None:
        return name;
    case Argument::Choice:
        return name + u' ' + option.choices().join(u'|');
    case Argument::File:
    case Argument::Name:
    case Argument::Number:
    case Argument::Text:
    case Argument::Phrase:
        break;
    }
    return name + u' ' + QLatin1String(option.placeholder);
}

} // namespace vistrel::cli
