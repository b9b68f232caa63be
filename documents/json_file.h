#pragma once

#include <QJsonObject>
#include <QString>

namespace t1 {

// A file a teacher writes by hand or hands out (a Laboratoire setup, a sheet
// of exercises): one JSON object, with the name of its format and a version
// number. Whatever the file is (not JSON, cut short, binary, huge, a folder,
// a pipe, a device), reading it never blocks, never takes more than the cap,
// and ends in one French sentence that names the file.
struct JsonFormat {
    const char* name;   // the value of "format"
    int version;        // the newest version this program reads
    const char* what;   // "une configuration du Laboratoire", for the messages
    qint64 maxBytes;    // a larger file is refused unread
};

struct JsonFile {
    QJsonObject root;  // "format" and "version" checked
    QString error;     // empty when read

    bool ok() const { return error.isEmpty(); }

    static JsonFile read(const QString& path, const JsonFormat& format);
    // The same for bytes already read; path only names the file.
    static JsonFile parse(const QByteArray& data, const QString& path, const JsonFormat& format);
};

// The keys every such file starts with.
inline constexpr auto kFormatKey = "format";
inline constexpr auto kVersionKey = "version";

}  // namespace t1
