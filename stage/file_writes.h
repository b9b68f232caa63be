#pragma once

#include <QString>

#include <cstddef>
#include <sys/types.h>

class QByteArray;

// How the files a student or a teacher takes away are written. A writer
// returns an empty string on success, otherwise a French sentence saying
// what went wrong; an existing file is only replaced once the new one is
// completely written and on the disk, so a full disk or a size limit leaves
// it as it was.

// The calls whose results QSaveFile does not give back: the writes of the
// bytes, whose error numbers make the French reason, and the sync, whose
// failure it ignores. The program uses the system's; a test puts a failing
// one in place of either.
struct FileCalls {
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*sync)(int fd);
};
extern const FileCalls kSystemFileCalls;

// Writes the bytes through QSaveFile: a temporary file beside the path,
// synced, then renamed into its place, keeping the mode of the file it
// replaces; on any failure the temporary file goes and the file at the path,
// if any, is left untouched. A link is followed: the file it points to is
// replaced, the link stays. A file its owner made read-only is not replaced.
QString writeFile(const QByteArray& bytes, const QString& path, const FileCalls& calls = kSystemFileCalls);

// The sentence a failed save shows: "Impossible d'enregistrer le fichier « path » : why."
QString notSaved(const QString& path, const QString& why);

// To be called once at start-up: under a file-size limit (`ulimit -f`) a
// write then fails with EFBIG, which a save reports, instead of the signal
// ending the program.
void ignoreFileSizeSignal();

// A title as a file name: no path separators or characters that some file
// systems refuse, no leading or trailing dots or blanks.
QString safeFileName(const QString& title);
