#pragma once

#include "picture/loop_values.h"

#include <QString>

#include <span>

class QImage;

// One drawn instant, or one acquisition, of a run: its local tick and the
// loop's values at it.
struct RunRow {
    int tick;
    t1::LoopValues values;
};

// The kinds of file a window saves; each is one row of kExportFormats.
enum class ExportFormat {
    Picture,  // the scene as the student sees it, PNG
    Values,   // the loop's values, CSV for a French spreadsheet
    Setup,    // a Laboratoire setup, JSON a person can read
};

struct ExportFormatRow {
    ExportFormat format;
    const char16_t* filter;  // the file dialog's
    const char16_t* suffix;  // without the dot
};

// The row of a format.
const ExportFormatRow& exportFormat(ExportFormat format);

// The loop values of a run for a French spreadsheet: a header, one line per
// row, ';' between fields, decimal commas, UTF-8 with a byte order mark.
QString csvText(std::span<const RunRow> rows);

// The writers, one per format: empty on success, else why in French.
QString writePng(const QImage& picture, const QString& path);
QString writeCsv(std::span<const RunRow> rows, const QString& path);
QString writeSetup(const QByteArray& json, const QString& path);
