#include "classroom/export_files.h"

#include "classroom/run_log.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <initializer_list>

namespace {

constexpr auto kCsvHeader = u"Instant local;E;Ep;Epu;U (V);S (V);X;Température (°C)";
constexpr char16_t kSeparator = u';';
constexpr auto kLineEnd = u"\r\n";  // what spreadsheets on every desktop read
// The spreadsheet then reads the accents as UTF-8 rather than guessing.
constexpr char16_t kByteOrderMark = u'\uFEFF';
constexpr int kSignificantDigits = 15;

constexpr auto kUnsafeInFileNames = u"/\\:*?\"<>|";
constexpr int kMaxFileNameLength = 120;
constexpr auto kFallbackName = u"Temperature1";

// The readouts' digits with a decimal comma, whatever the user's locale:
// the file is meant for French spreadsheets.
QString frenchNumber(double value)
{
    if (value == 0)
        value = 0;  // no "-0"
    return QString::number(value, 'g', kSignificantDigits).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString notSaved(const QString& path, const QString& why)
{
    return QStringLiteral("Impossible d'enregistrer le fichier « %1 » : %2.").arg(path, why);
}

QString writeBytes(const QByteArray& bytes, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return notSaved(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return notSaved(path, why);
    }
    if (!file.commit())
        return notSaved(path, file.errorString());
    return {};
}

}  // namespace

QString csvText(const RunLog& log)
{
    QString text;
    text += kByteOrderMark;
    text += QString::fromUtf16(kCsvHeader);
    text += QString::fromUtf16(kLineEnd);
    for (const RunRow& r : log.rows()) {
        text += QString::number(r.tick);
        for (double v : {r.e, r.ep, r.epu, r.u, r.s, r.x, r.temperature}) {
            text += kSeparator;
            text += frenchNumber(v);
        }
        text += QString::fromUtf16(kLineEnd);
    }
    return text;
}

QString writeCsv(const RunLog& log, const QString& path)
{
    return writeBytes(csvText(log).toUtf8(), path);
}

QString writePng(const QImage& picture, const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture))
        return notSaved(path, writer.errorString());
    return writeBytes(bytes, path);
}

QString safeFileName(const QString& title)
{
    QString name;
    for (const QChar c : title) {
        const bool unsafe = c.category() == QChar::Other_Control || QStringView(kUnsafeInFileNames).contains(c);
        name += unsafe ? QLatin1Char('-') : c;
    }
    name = name.simplified().left(kMaxFileNameLength);
    while (!name.isEmpty() && (name.front() == QLatin1Char('.') || name.front() == QLatin1Char(' ')))
        name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == QLatin1Char('.') || name.back() == QLatin1Char(' ')))
        name.chop(1);
    return name.isEmpty() ? QString::fromUtf16(kFallbackName) : name;
}
