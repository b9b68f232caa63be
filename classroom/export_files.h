#pragma once

#include <QString>

#include <cstddef>
#include <sys/types.h>

class QByteArray;
class QImage;
class RunLog;

// The files a student takes away for a report. Each writer returns an empty
// string on success, otherwise a French sentence saying what went wrong; an
// existing file is only replaced once the new one is completely written and
// on the disk, so a full disk or a size limit leaves it as it was.

// The loop values of a run for a French spreadsheet: a header, one line per
// drawn tick, ';' between fields, decimal commas, UTF-8.
QString csvText(const RunLog& log);
QString writeCsv(const RunLog& log, const QString& path);

QString writePng(const QImage& picture, const QString& path);

// The system calls a file is written with. The program uses the system's;
// a test puts a failing one in place of any of them.
struct FileCalls {
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*sync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
extern const FileCalls kSystemFileCalls;

// Writes the bytes to a temporary file beside the path, then puts it in the
// path's place; on any failure the temporary file is removed and the file
// at the path, if any, is left untouched. A link is followed: the file it
// points to is replaced, the link stays.
QString writeFile(const QByteArray& bytes, const QString& path, const FileCalls& calls = kSystemFileCalls);

// A lesson's title as a file name: no path separators or characters that
// some file systems refuse, no leading or trailing dots or blanks.
QString safeFileName(const QString& title);
