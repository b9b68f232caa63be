#include "stage/file_writes.h"

#include "documents/file_errors.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

constexpr auto kUnsafeInFileNames = u"/\\:*?\"<>|";
constexpr int kMaxFileNameLength = 120;
constexpr auto kFallbackName = u"Temperature1";
// QSaveFile gives no error number when it fails to open or to rename; the
// closest reason is then the one for an input/output error.
constexpr int kUnknownFailure = EIO;

QString notSaved(const QString& path, int errorNumber)
{
    return notSaved(path, t1::fileErrorReason(errorNumber));
}

// The file that a save to the path replaces.
QString replacedFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();  // empty when the link leads nowhere
    return target.isEmpty() ? info.symLinkTarget() : target;
}

// Every byte, or the error number of the write that failed. A write that
// fits in a buffer fails no less than a large one: each is checked.
int writeAll(int fd, const QByteArray& bytes, const FileCalls& calls)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = calls.write(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;  // a regular file that takes nothing would loop for ever
        data += written;
        left -= written;
    }
    return 0;
}

// errno as a failed call left it, or a stand-in when the call set none.
int lastError()
{
    return errno != 0 ? errno : kUnknownFailure;
}

}  // namespace

const FileCalls kSystemFileCalls{::write, ::fsync};

QString notSaved(const QString& path, const QString& why)
{
    return QStringLiteral("Impossible d'enregistrer le fichier « %1 » : %2.").arg(path, why);
}

QString writeFile(const QByteArray& bytes, const QString& path, const FileCalls& calls)
{
    const QFileInfo target(replacedFile(path));
    // QSaveFile would put a file in a folder's place, and replace a file
    // its owner made read-only: neither is done behind the user's back.
    if (target.isDir())
        return notSaved(path, EISDIR);
    if (target.exists() && ::access(QFile::encodeName(target.filePath()).constData(), W_OK) != 0)
        return notSaved(path, errno);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return notSaved(path, lastError());
    // The bytes go straight to the file's descriptor, so that each write's
    // error number is ours to read; QSaveFile then only renames.
    int failure = writeAll(file.handle(), bytes, calls);
    // Some file systems say they are full only now. EINVAL: a file that
    // cannot be synced, which loses nothing.
    if (failure == 0 && calls.sync(file.handle()) != 0 && errno != EINVAL)
        failure = errno;
    if (failure != 0) {
        file.cancelWriting();
        return notSaved(path, failure);
    }
    errno = 0;
    if (!file.commit())
        return notSaved(path, lastError());
    return {};
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
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
