#pragma once

#include "model/sheet.h"

#include <QString>
#include <QStringList>

namespace t1 {

// The teacher's correction of a sheet: for one student, as text to read or
// print; for a class, one line per student, for a French spreadsheet (';'
// between fields, decimal commas).
QString correctionText(const model::Sheet& sheet, const QString& student);
QString classCorrectionCsv(const model::Sheet& sheet, const QStringList& students);

// The students of a class list: one a line, its fields (';' or tabs
// between them, as a spreadsheet saves them) joined by a space, quotes and
// blank lines dropped.
QStringList classList(const QByteArray& bytes);

}  // namespace t1
