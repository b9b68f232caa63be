#include "documents/document_library.h"

#include "documents/file_errors.h"
#include "documents/regular_file.h"
#include "documents/rtf_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <QStandardPaths>
#include <QTextDocument>

#include <sys/stat.h>

namespace t1 {

namespace {

// French typography: a no-break space before a colon.
constexpr QChar kNoBreakSpace(0x00A0);

constexpr auto kDataFolder = "temperature1";

QString fileError(const QString& file, const QString& reason)
{
    return fileSentence(file, reason);
}

QString tooLarge()
{
    constexpr qint64 kMegabyte = 1024 * 1024;
    return QStringLiteral("est trop volumineux (plus de %1 Mo)").arg(DocumentLibrary::kMaxFileBytes / kMegabyte);
}

QString unreadable(int errorNumber)
{
    return QStringLiteral("est illisible%1: %2").arg(kNoBreakSpace).arg(fileErrorReason(errorNumber));
}

QString unsupportedPage(const QString& file, int codePage)
{
    return fileError(file, QStringLiteral("est écrit dans la page de code %1, que le programme ne sait pas lire%2: "
                                          "ses caractères accentués sont remplacés par « \uFFFD »")
                               .arg(codePage)
                               .arg(kNoBreakSpace));
}

// The digest that tells a changed file from the one already parsed. The
// file is read on every showing, between two ticks: a hash of a few
// hundred megabytes a second would take longer than the tick on the
// largest file allowed. Nobody needs to forge a collision to change a
// commentary they can write.
std::size_t digestOf(const QByteArray& data)
{
    return qHashBits(data.constData(), std::size_t(data.size()));
}

}  // namespace

DocumentLibrary::DocumentLibrary(QStringList searchDirs)
{
    for (const QString& dir : searchDirs) {
        const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
        if (!m_dirs.contains(clean))
            m_dirs.append(clean);
    }
}

QStringList DocumentLibrary::defaultSearchDirs()
{
    QStringList dirs{QDir::currentPath()};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        dirs.append(QDir(data).filePath(QString::fromUtf8(kDataFolder)));
#ifdef T1_DATA_DIR
    // Where the build installs them, should its prefix be none of the above.
    dirs.append(QStringLiteral(T1_DATA_DIR));
#endif
    dirs.append(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + QString::fromUtf8(kDataFolder));
    return dirs;
}

// The first directory that holds something of that name, be it a broken
// link or a loop of links; what it holds is then reported on, rather than
// passed over for a later directory.
QString DocumentLibrary::locate(const QString& fileName) const
{
    for (const QString& dir : m_dirs) {
        const QString path = QDir(dir).filePath(fileName);
        struct stat info {};
        if (::lstat(QFile::encodeName(path).constData(), &info) == 0)
            return path;
    }
    return {};
}

DocumentLibrary::Loaded DocumentLibrary::load(const QString& fileName)
{
    Loaded loaded;
    loaded.path = locate(fileName);
    if (loaded.path.isEmpty()) {
        QStringList where;
        for (const QString& dir : m_dirs)
            where.append(QDir::toNativeSeparators(dir));
        loaded.error = fileError(fileName, QStringLiteral("est introuvable (cherché dans%1: %2)")
                                               .arg(kNoBreakSpace)
                                               .arg(where.join(QStringLiteral(", "))));
        return loaded;
    }
    if (m_beforeOpen)
        m_beforeOpen(loaded.path);

    const RegularFile file = RegularFile::read(loaded.path, kMaxFileBytes);
    switch (file.status) {
    case RegularFile::Status::Read:
        break;
    case RegularFile::Status::CannotOpen:
    case RegularFile::Status::CannotRead:
        loaded.error = fileError(loaded.path, unreadable(file.error));
        return loaded;
    case RegularFile::Status::NotRegular:
        // A pipe or a device could block or never end.
        loaded.error = fileError(loaded.path, QStringLiteral("n'est pas un fichier ordinaire"));
        return loaded;
    case RegularFile::Status::TooLarge:
        loaded.error = fileError(loaded.path, tooLarge());
        return loaded;
    }

    const std::size_t digest = digestOf(file.data);
    const auto cached = m_cache.find(loaded.path);
    if (cached != m_cache.end() && cached->second.digest == digest && cached->second.size == file.data.size()) {
        loaded.document = cached->second.document;
        loaded.notice = cached->second.notice;
        return loaded;
    }

    RtfReader::Result read = RtfReader::read(file.data);
    switch (read.problem) {
    case RtfReader::Problem::Empty:
        loaded.error = fileError(loaded.path, QStringLiteral("est vide"));
        return loaded;
    case RtfReader::Problem::NotRtf:
        loaded.error = fileError(loaded.path, QStringLiteral("n'est pas un document RTF"));
        return loaded;
    case RtfReader::Problem::None:
        break;
    }
    // A damaged or overlong document is shown as far as it could be read.
    loaded.document = std::shared_ptr<const QTextDocument>(std::move(read.document));
    if (read.unsupportedCodePage != 0)
        loaded.notice = unsupportedPage(loaded.path, read.unsupportedCodePage);
    m_cache[loaded.path] = {digest, file.data.size(), loaded.document, loaded.notice};
    return loaded;
}

}  // namespace t1
