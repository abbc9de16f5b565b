#include "files/ownmodels.h"

#include "core/numbers.h"
#include "files/filewriter.h"

#include <QDir>
#include <QFileInfo>

namespace vistrel {

namespace {

QString fieldText(const ModelRecord &model, int field) {
    if (field == kWideScreenModeField || field == kModelDrawFlagField)
        return QString::number(static_cast<int>(numericField(model, field)));
    if (field < kModelFieldCount)
        return formatShortest(numericField(model, field));
    ModelRecord copy = model;
    const double value = plannerField(copy, field);
    return value > 0 ? formatShortest(value) : QString();
}

} // namespace

QByteArray catalogueText(const std::vector<ModelRecord> &models) {
    QStringList header;
    for (int f = 0; f < kCatalogueFieldCount; ++f)
        header << fieldName(f);
    QString text = header.join(u',') + u'\n';
    for (const ModelRecord &model : models) {
        QStringList fields{model.name};
        for (int f = 1; f < kCatalogueFieldCount; ++f)
            fields << fieldText(model, f);
        text += fields.join(u',') + u'\n';
    }
    return text.toUtf8();
}

Result<Catalogue> loadOwnModels(const QString &path) {
    // Only nothing at all is no models: anything else standing there (a
    // FIFO, a folder) is reported by the reader, and so never written over.
    if (path.isEmpty() || !QFileInfo(path).exists())
        return Catalogue{};
    return loadCatalogue(path);
}

Result<void> saveOwnModels(const QString &path, const std::vector<ModelRecord> &models) {
    // The user's data folder is made by whatever keeps something there
    // first; on a new account that may be the first own model.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return makeError(
            ErrorNumber::PathNotFound,
            QStringLiteral("Path not found: the folder %1 cannot be made").arg(folder));
    return writeFileAtomically(path, catalogueText(models), WriteTarget::UserFile);
}

} // namespace vistrel
