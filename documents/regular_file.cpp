#include "documents/regular_file.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace t1 {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

RegularFile RegularFile::read(const QString& path, qint64 maxBytes)
{
    RegularFile file;
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: opening a pipe with no writer would wait for one.
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        file.status = Status::CannotOpen;
        file.error = errno;
        return file;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        file.status = Status::CannotRead;
        file.error = errno;
        return file;
    }
    if (!S_ISREG(info.st_mode)) {
        file.status = Status::NotRegular;
        return file;
    }
    if (info.st_size > maxBytes) {
        file.status = Status::TooLarge;
        return file;
    }

    // The file may grow while it is read: read one byte past the limit to see it.
    file.data.resize(qsizetype(info.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == file.data.size()) {
            if (filled > maxBytes) {
                file.status = Status::TooLarge;
                file.data.clear();
                return file;
            }
            file.data.resize(std::min<qsizetype>(qsizetype(maxBytes) + 1, filled * 2));
        }
        const ssize_t got = ::read(fd.get(), file.data.data() + filled, std::size_t(file.data.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            file.status = Status::CannotRead;
            file.error = errno;
            file.data.clear();
            return file;
        }
        if (got == 0)
            break;
        filled += got;
    }
    file.data.truncate(filled);
    return file;
}

}  // namespace t1
