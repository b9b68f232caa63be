#include "documents/json_file.h"

#include "documents/file_errors.h"
#include "documents/regular_file.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

#include <algorithm>
#include <array>
#include <cmath>

namespace t1 {

namespace {

constexpr qint64 kKilobyte = 1024;

// What went wrong in the parser, in words a teacher reads: a file cut short
// is the common case (a copy interrupted, a mail client's truncation).
struct ParseWords {
    QJsonParseError::ParseError error;
    const char* words;
};
constexpr auto kCutShort = "s'arrête avant la fin, sans doute tronqué";
constexpr std::array kParseWords{
    ParseWords{QJsonParseError::UnterminatedObject, kCutShort},
    ParseWords{QJsonParseError::UnterminatedArray, kCutShort},
    ParseWords{QJsonParseError::UnterminatedString, kCutShort},
    ParseWords{QJsonParseError::IllegalUTF8String, "contient des octets qui ne sont pas du texte UTF-8"},
    ParseWords{QJsonParseError::DeepNesting, "imbrique trop d'objets et de listes"},
    ParseWords{QJsonParseError::DocumentTooLarge, "est trop volumineux"},
    ParseWords{QJsonParseError::MissingNameSeparator, "n'est pas du JSON valable (« : » attendu)"},
    ParseWords{QJsonParseError::MissingValueSeparator, "n'est pas du JSON valable (« , » attendue)"},
};

QString parseWords(QJsonParseError::ParseError error)
{
    const auto row = std::find_if(kParseWords.begin(), kParseWords.end(),
                                  [error](const ParseWords& w) { return w.error == error; });
    return QString::fromUtf8(row == kParseWords.end() ? "n'est pas du JSON valable" : row->words);
}

// Line and column of a byte offset, counted as an editor shows them.
QString where(const QByteArray& data, int offset)
{
    const QByteArray before = data.left(std::clamp<qsizetype>(offset, 0, data.size()));
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = QString::fromUtf8(before.mid(before.lastIndexOf('\n') + 1)).size() + 1;
    return QStringLiteral("ligne %1, colonne %2").arg(line).arg(column);
}

QString notRead(const RegularFile& file, qint64 maxBytes)
{
    switch (file.status) {
    case RegularFile::Status::Read:
        break;
    case RegularFile::Status::CannotOpen:
    case RegularFile::Status::CannotRead:
        return QStringLiteral("est illisible\u00A0: %1").arg(fileErrorReason(file.error));
    case RegularFile::Status::NotRegular:
        return QStringLiteral("n'est pas un fichier ordinaire (un dossier, un tube ou un périphérique)");
    case RegularFile::Status::TooLarge:
        return QStringLiteral("est trop volumineux (plus de %1 Ko)").arg(maxBytes / kKilobyte);
    }
    return {};
}

}  // namespace

JsonFile JsonFile::read(const QString& path, const JsonFormat& format)
{
    const RegularFile file = RegularFile::read(path, format.maxBytes);
    if (file.status != RegularFile::Status::Read)
        return {{}, fileSentence(path, notRead(file, format.maxBytes))};
    return parse(file.data, path, format);
}

JsonFile JsonFile::parse(const QByteArray& data, const QString& path, const JsonFormat& format)
{
    const auto refused = [&path](const QString& reason) { return JsonFile{{}, fileSentence(path, reason)}; };
    if (data.trimmed().isEmpty())
        return refused(QStringLiteral("est vide"));
    if (data.contains('\0'))
        return refused(QStringLiteral("est un fichier binaire, pas un texte JSON"));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError) {
        // The parser stopped at the end of the text: whatever it says, the file was cut short.
        const bool cut = error.offset >= data.trimmed().size() + data.indexOf(data.trimmed());
        return refused(QStringLiteral("%1 (%2)").arg(cut ? QString::fromUtf8(kCutShort) : parseWords(error.error),
                                                     where(data, error.offset)));
    }
    if (!document.isObject())
        return refused(QStringLiteral("ne contient pas un objet JSON entre accolades"));

    const QJsonObject root = document.object();
    const QString name = QString::fromUtf8(format.name);
    const QString what = QString::fromUtf8(format.what);
    if (root.value(QLatin1String(kFormatKey)).toString() != name)
        return refused(QStringLiteral("n'est pas %1 (il y manque « \"%2\": \"%3\" »)").arg(what, QLatin1String(kFormatKey), name));
    const QJsonValue version = root.value(QLatin1String(kVersionKey));
    const double v = version.toDouble(-1);
    if (!version.isDouble() || v < 1 || v != std::floor(v))
        return refused(QStringLiteral("n'a pas de numéro de version valable (clé « %1 »)").arg(QLatin1String(kVersionKey)));
    if (v > format.version)
        return refused(QStringLiteral("est écrit dans la version %1 de son format, plus récente que celle que ce "
                                      "programme lit (%2)\u00A0: il faut une version plus récente du programme")
                           .arg(v)
                           .arg(format.version));
    return {root, {}};
}

}  // namespace t1
