// Model information files come from users and from vendors' web pages: any
// bytes must either load or be refused with a reason, what loads must survive
// being written back and read again unchanged, and a calculator switched to
// it must either report an error or show numbers.

#include "catalogue/modelrecord.h"
#include "core/numbers.h"
#include "files/modelloader.h"
#include "files/textfile.h"
#include "fuzzcalc.h"
#include "fuzzsupport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using vistrel::ModelRecord;
using vistrel::fuzz::fail;
using vistrel::fuzz::require;

// One catalogue line for a record: the name, then fields 1 to 23 in the
// shortest form that reads back to the very same double.
QString recordLine(const ModelRecord &record) {
    QString line = record.name;
    for (int field = 1; field < vistrel::kModelFieldCount; ++field) {
        line += u',';
        line += vistrel::formatShortest(vistrel::numericField(record, field));
    }
    ModelRecord copy = record;
    for (int field = vistrel::kModelFieldCount; field < vistrel::kCatalogueFieldCount; ++field) {
        line += u',';
        line += vistrel::formatShortest(vistrel::plannerField(copy, field));
    }
    return line;
}

QString catalogueText(const std::vector<ModelRecord> &models) {
    QString text = QStringLiteral("Model");
    for (int field = 1; field < vistrel::kCatalogueFieldCount; ++field)
        text += QStringLiteral(",F%1").arg(field);
    text += QStringLiteral("\r\n");
    for (const ModelRecord &record : models)
        text += recordLine(record) + QStringLiteral("\r\n");
    return text;
}

void checkRecord(const ModelRecord &record) {
    const QString &name = record.name;
    require(!name.isEmpty(), "a line without a model name was kept");
    require(!name.contains(u',') && !name.contains(u'\r') && !name.contains(u'\n'),
            "a model name holds a field or line separator", name);
    require(!name.startsWith(u' ') && !name.endsWith(u' '), "a model name was not trimmed", name);
    for (int field = 1; field < vistrel::kModelFieldCount; ++field) {
        if (!std::isfinite(vistrel::numericField(record, field)))
            fail("a loaded model holds a non-finite number", recordLine(record));
    }
}

// Starting up selects the first model; the last one is selected too, as a
// click in the model list does.
void checkCalculator(const std::vector<ModelRecord> &models, const QString &text) {
    vistrel::fuzz::RecordingObserver observer;
    vistrel::Calculator calculator(observer);
    calculator.setMessages(vistrel::messagesFrom(vistrel::fuzz::shippedTexts()));
    if (!calculator.startUp(models) || observer.errors > 0)
        return;
    vistrel::fuzz::checkCalculator(calculator, text);
    if (models.size() < 2)
        return;
    const vistrel::Result<void> chosen =
        calculator.selectModel(static_cast<int>(models.size() - 1));
    vistrel::fuzz::require(chosen.ok() == (observer.errors == 0),
                           "a model's failure was not both returned and shown");
    if (chosen)
        vistrel::fuzz::checkCalculator(calculator, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const vistrel::Result<QString> decoded =
        vistrel::decodeText(vistrel::fuzz::inputBytes(data, size));
    if (!decoded)
        return 0;
    const QString &text = *decoded;
    const auto loaded = vistrel::parseCatalogue(text, QStringLiteral("fuzz.ini"));
    if (!loaded) {
        require(!loaded.error().description.isEmpty(), "a catalogue was refused without a reason");
        return 0;
    }
    const std::vector<ModelRecord> *models = &loaded->models;
    require(models->size() <= static_cast<std::size_t>(vistrel::kModelCapacity),
            "more models than the catalogue can hold were loaded");
    for (const ModelRecord &record : *models)
        checkRecord(record);

    const QString rewritten = catalogueText(*models);
    const auto reread = vistrel::parseCatalogue(rewritten, QStringLiteral("rewritten.ini"));
    if (!reread)
        fail("the rewritten catalogue was refused", reread.error().description);
    if (!reread->warnings.empty())
        fail("planner data written back was no longer valid", rewritten);
    const std::vector<ModelRecord> *again = &reread->models;
    if (again->size() != models->size())
        fail("the rewritten catalogue holds another number of models", rewritten);
    for (std::size_t i = 0; i < models->size(); ++i) {
        if (!((*again)[i] == (*models)[i]))
            fail("a model changed when written back and read again",
                 recordLine((*models)[i]) + QStringLiteral("\nread back as\n") +
                     recordLine((*again)[i]));
    }
    checkCalculator(*models, rewritten);
    return 0;
}
