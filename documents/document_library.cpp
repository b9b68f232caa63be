#include "documents/document_library.h"

#include "documents/rtf_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace t1 {

namespace {

// French typography: a no-break space before a colon.
constexpr QChar kNoBreakSpace(0x00A0);

QString fileError(const QString& file, const QString& reason)
{
    return QStringLiteral("Le fichier « %1 » %2.").arg(QDir::toNativeSeparators(file), reason);
}

QString tooLarge()
{
    constexpr qint64 kMegabyte = 1024 * 1024;
    return QStringLiteral("est trop volumineux (plus de %1 Mo)").arg(DocumentLibrary::kMaxFileBytes / kMegabyte);
}

QString unreadable(const char* why)
{
    return QStringLiteral("est illisible%1: %2").arg(kNoBreakSpace).arg(QString::fromUtf8(why));
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
#ifdef T1_DATA_DIR
    dirs.append(QStringLiteral(T1_DATA_DIR));
#endif
    dirs.append(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/temperature1"));
    return dirs;
}

// The first directory that holds something of that name; what it holds is
// then reported on, rather than passed over for a later directory.
QString DocumentLibrary::locate(const QString& fileName) const
{
    for (const QString& dir : m_dirs) {
        const QString path = QDir(dir).filePath(fileName);
        if (QFileInfo::exists(path))
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

    const QFileInfo info(loaded.path);
    // Only a plain file: a pipe or a device could block or never end.
    if (!info.isFile()) {
        loaded.error = fileError(loaded.path, QStringLiteral("n'est pas un fichier ordinaire"));
        return loaded;
    }
    if (!info.isReadable()) {
        loaded.error = fileError(loaded.path, unreadable("lecture non autorisée"));
        return loaded;
    }
    if (info.size() > kMaxFileBytes) {
        loaded.error = fileError(loaded.path, tooLarge());
        return loaded;
    }

    const auto cached = m_cache.find(loaded.path);
    if (cached != m_cache.end() && cached->second.modified == info.lastModified() && cached->second.size == info.size()) {
        loaded.document = cached->second.document;
        return loaded;
    }

    QFile file(loaded.path);
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.error = fileError(loaded.path, unreadable("ouverture impossible"));
        return loaded;
    }
    // The size may change between the look and the read: read no more than allowed.
    const QByteArray data = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        loaded.error = fileError(loaded.path, unreadable("erreur de lecture"));
        return loaded;
    }
    if (data.size() > kMaxFileBytes) {
        loaded.error = fileError(loaded.path, tooLarge());
        return loaded;
    }

    RtfReader::Result read = RtfReader::read(data);
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
    // A truncated document is shown as far as it could be read.
    loaded.document = std::shared_ptr<const QTextDocument>(std::move(read.document));
    m_cache[loaded.path] = {info.lastModified(), info.size(), loaded.document};
    return loaded;
}

}  // namespace t1
