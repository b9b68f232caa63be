#include "stage/export_formats.h"

#include "picture/number_text.h"
#include "stage/file_writes.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <array>

namespace {

constexpr std::array kExportFormats{
    ExportFormatRow{ExportFormat::Picture, u"Images PNG (*.png)", u"png"},
    ExportFormatRow{ExportFormat::Values, u"Valeurs séparées par des points-virgules (*.csv)", u"csv"},
    ExportFormatRow{ExportFormat::Setup, u"Configurations du Laboratoire (*.json)", u"json"},
};

// The columns after the local tick, in the order a report reads the loop.
struct CsvColumn {
    const char16_t* header;
    double t1::LoopValues::*signal;
};
constexpr auto kTickHeader = u"Instant local";
constexpr std::array kCsvColumns{
    CsvColumn{u"E", &t1::LoopValues::gE},
    CsvColumn{u"Ep", &t1::LoopValues::gEp},
    CsvColumn{u"Epu", &t1::LoopValues::gEpu},
    CsvColumn{u"U (V)", &t1::LoopValues::gU},
    CsvColumn{u"S (V)", &t1::LoopValues::gS},
    CsvColumn{u"X", &t1::LoopValues::gX},
    CsvColumn{u"Température (°C)", &t1::LoopValues::gTemperature},
};
constexpr char16_t kSeparator = u';';
constexpr auto kLineEnd = u"\r\n";  // what spreadsheets on every desktop read
// The spreadsheet then reads the accents as UTF-8 rather than guessing.
constexpr char16_t kByteOrderMark = u'\uFEFF';
// The file is meant for French spreadsheets, whatever the user's locale.
constexpr auto kDecimalComma = u",";

struct PngFailure {
    QImageWriter::ImageWriterError error;
    const char* reason;  // UTF-8
};
constexpr std::array kPngFailures{
    PngFailure{QImageWriter::InvalidImageError, "l'image est vide"},
    PngFailure{QImageWriter::UnsupportedFormatError, "le format PNG n'est pas disponible"},
};
constexpr auto kPngFailed = "l'image n'a pas pu être convertie en PNG";

QString pngFailure(QImageWriter::ImageWriterError error)
{
    for (const PngFailure& f : kPngFailures)
        if (f.error == error)
            return QString::fromUtf8(f.reason);
    return QString::fromUtf8(kPngFailed);
}

}  // namespace

const ExportFormatRow& exportFormat(ExportFormat format)
{
    for (const ExportFormatRow& row : kExportFormats)
        if (row.format == format)
            return row;
    return kExportFormats.front();
}

QString csvText(std::span<const RunRow> rows)
{
    const QString comma = QString::fromUtf16(kDecimalComma);
    QString text;
    text += kByteOrderMark;
    text += QString::fromUtf16(kTickHeader);
    for (const CsvColumn& column : kCsvColumns) {
        text += kSeparator;
        text += QString::fromUtf16(column.header);
    }
    text += QString::fromUtf16(kLineEnd);
    for (const RunRow& r : rows) {
        text += QString::number(r.tick);
        for (const CsvColumn& column : kCsvColumns) {
            text += kSeparator;
            text += t1::numberText(r.values.*column.signal, comma);
        }
        text += QString::fromUtf16(kLineEnd);
    }
    return text;
}

QString writeCsv(std::span<const RunRow> rows, const QString& path)
{
    return writeFile(csvText(rows).toUtf8(), path);
}

QString writePng(const QImage& picture, const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture))
        return notSaved(path, pngFailure(writer.error()));
    return writeFile(bytes, path);
}

QString writeSetup(const QByteArray& json, const QString& path)
{
    return writeFile(json, path);
}
