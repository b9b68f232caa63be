#pragma once

#include "documents/json_file.h"
#include "model/sheet.h"
#include "model/sheet_check.h"

#include <QString>

#include <optional>

namespace t1 {

// A teacher's sheet of exercises, as its JSON file holds it
// (docs/feuilles.md): read safely, mapped to model::Sheet and validated.
inline constexpr qint64 kMaxSheetBytes = 2 * 1024 * 1024;
inline constexpr JsonFormat kSheetFormat{"temperature1-feuille", 1, "une feuille d'exercices", kMaxSheetBytes};

struct SheetFile {
    std::optional<model::Sheet> sheet;
    // One French sentence naming the file, and where it is wrong: the
    // exercise by its number and the key, as the file spells it.
    QString error;

    bool ok() const { return sheet.has_value(); }
};

SheetFile readSheet(const QString& path);
SheetFile parseSheet(const QByteArray& data, const QString& path);

// A fault of the validation in French: where, then what.
QString faultText(const model::Fault& fault);

}  // namespace t1
