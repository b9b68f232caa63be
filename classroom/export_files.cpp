#include "classroom/export_files.h"

#include "classroom/run_log.h"
#include "documents/file_errors.h"
#include "picture/number_text.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr auto kCsvHeader = u"Instant local;E;Ep;Epu;U (V);S (V);X;Température (°C)";
constexpr char16_t kSeparator = u';';
constexpr auto kLineEnd = u"\r\n";  // what spreadsheets on every desktop read
// The spreadsheet then reads the accents as UTF-8 rather than guessing.
constexpr char16_t kByteOrderMark = u'\uFEFF';
// The file is meant for French spreadsheets, whatever the user's locale.
constexpr auto kDecimalComma = u",";

constexpr auto kUnsafeInFileNames = u"/\\:*?\"<>|";
constexpr int kMaxFileNameLength = 120;
constexpr auto kFallbackName = u"Temperature1";

// Hidden, and named after the program should a crash leave one behind.
constexpr auto kTemporaryPrefix = "/.temperature1-";
constexpr int kTemporaryNameBase = 36;
constexpr int kTemporaryNameTries = 100;
constexpr mode_t kNewFileMode = 0666;  // less the user's umask, as for any new file
constexpr mode_t kModeBits = 07777;

struct PngFailure {
    QImageWriter::ImageWriterError error;
    const char* reason;  // UTF-8
};
constexpr std::array kPngFailures{
    PngFailure{QImageWriter::InvalidImageError, "l'image est vide"},
    PngFailure{QImageWriter::UnsupportedFormatError, "le format PNG n'est pas disponible"},
};
constexpr auto kPngFailed = "l'image n'a pas pu être convertie en PNG";

QString notSaved(const QString& path, const QString& why)
{
    return QStringLiteral("Impossible d'enregistrer le fichier « %1 » : %2.").arg(path, why);
}

QString notSaved(const QString& path, int errorNumber)
{
    return notSaved(path, t1::fileErrorReason(errorNumber));
}

QString pngFailure(QImageWriter::ImageWriterError error)
{
    for (const PngFailure& f : kPngFailures)
        if (f.error == error)
            return QString::fromUtf8(f.reason);
    return QString::fromUtf8(kPngFailed);
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

// A new file beside the target, open for writing; -1 with errno set on failure.
int createTemporary(const QString& target, QByteArray& name)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    for (int i = 0; i < kTemporaryNameTries; ++i) {
        name = folder + kTemporaryPrefix + QByteArray::number(QRandomGenerator::global()->generate(), kTemporaryNameBase);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
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

}  // namespace

const FileCalls kSystemFileCalls{::write, ::fsync, ::close, ::rename};

QString writeFile(const QByteArray& bytes, const QString& path, const FileCalls& calls)
{
    const QString target = replacedFile(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old {};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return notSaved(path, EISDIR);
    // A file its owner made read-only is not replaced behind their back.
    if (replacing && ::access(targetName.constData(), W_OK) != 0)
        return notSaved(path, errno);

    QByteArray temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return notSaved(path, errno);
    if (replacing)
        (void)::fchmod(fd, old.st_mode & kModeBits);  // not every file system keeps modes

    int failure = writeAll(fd, bytes, calls);
    // Some file systems say they are full only now. EINVAL: a file that
    // cannot be synced, which loses nothing.
    if (failure == 0 && calls.sync(fd) != 0 && errno != EINVAL)
        failure = errno;
    // After EINTR the file is closed all the same, its data already synced.
    if (calls.close(fd) != 0 && errno != EINTR && failure == 0)
        failure = errno;
    if (failure == 0 && calls.rename(temporary.constData(), targetName.constData()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.constData());
        return notSaved(path, failure);
    }
    return {};
}

QString csvText(const RunLog& log)
{
    const QString comma = QString::fromUtf16(kDecimalComma);
    QString text;
    text += kByteOrderMark;
    text += QString::fromUtf16(kCsvHeader);
    text += QString::fromUtf16(kLineEnd);
    for (const RunRow& r : log.rows()) {
        text += QString::number(r.tick);
        for (double v : {r.e, r.ep, r.epu, r.u, r.s, r.x, r.temperature}) {
            text += kSeparator;
            text += t1::numberText(v, comma);
        }
        text += QString::fromUtf16(kLineEnd);
    }
    return text;
}

QString writeCsv(const RunLog& log, const QString& path)
{
    return writeFile(csvText(log).toUtf8(), path);
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
