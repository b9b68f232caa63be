#pragma once

#include <QByteArray>
#include <QString>

namespace t1 {

// Reads a whole regular file of bounded size. The file is opened without
// blocking and checked on the opened descriptor, so that whatever is put
// in its place between a look at its name and the read (a pipe that would
// block the open, a device that never ends) is refused, not waited on.
struct RegularFile {
    enum class Status {
        Read,
        CannotOpen,  // error tells why
        NotRegular,  // a directory, a pipe, a device...
        TooLarge,
        CannotRead,  // error tells why
    };

    Status status = Status::Read;
    int error = 0;  // errno
    QByteArray data;

    static RegularFile read(const QString& path, qint64 maxBytes);
};

}  // namespace t1
