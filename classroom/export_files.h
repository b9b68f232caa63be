#pragma once

#include <QString>

class QImage;
class RunLog;

// The files a student takes away for a report. Each writer returns an empty
// string on success, otherwise a French sentence saying what went wrong; an
// existing file is only replaced once the new one is completely written.

// The loop values of a run for a French spreadsheet: a header, one line per
// drawn tick, ';' between fields, decimal commas, UTF-8.
QString csvText(const RunLog& log);
QString writeCsv(const RunLog& log, const QString& path);

QString writePng(const QImage& picture, const QString& path);

// A lesson's title as a file name: no path separators or characters that
// some file systems refuse, no leading or trailing dots or blanks.
QString safeFileName(const QString& title);
