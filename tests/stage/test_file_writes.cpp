// How a save writes its file: every system call checked, and on any failure
// the file already there kept as it was, nothing left beside it, and the
// reason given in French.
#include "stage/file_writes.h"
#include "documents/file_errors.h"
#include "tests/support/file_contents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace t1::testing {
namespace {

// What the failing calls below do, set by each case.
int gFailure = 0;     // the error number they fail with
int gWritesLeft = 0;  // writes that still go through (a few bytes each)

ssize_t writeThenFail(int fd, const void* data, std::size_t size)
{
    if (gWritesLeft == 0) {
        errno = gFailure;
        return -1;
    }
    --gWritesLeft;
    return ::write(fd, data, std::min<std::size_t>(size, 3));
}

ssize_t interruptedOnce(int fd, const void* data, std::size_t size)
{
    if (gWritesLeft-- == 1) {
        errno = EINTR;
        return -1;
    }
    return ::write(fd, data, std::min<std::size_t>(size, 3));
}

int fail(int)
{
    errno = gFailure;
    return -1;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString notSaved(const QString& file, int error)
{
    return QStringLiteral("Impossible d'enregistrer le fichier « %1 » : %2.").arg(file, fileErrorReason(error));
}

class FileWrites : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

TEST_F(FileWrites, AFailureAtAnyStepKeepsTheOldFileAndLeavesNothingBeside)
{
    struct Case {
        const char* step;
        FileCalls calls;
        int writesFirst;
        int error;
    };
    const Case cases[] = {
        {"first write", {writeThenFail, ::fsync}, 0, ENOSPC},
        {"a later write", {writeThenFail, ::fsync}, 2, EDQUOT},
        {"sync", {::write, fail}, 0, EIO},
    };
    const QString file = path("kept.csv");
    const QString fresh = path("new.csv");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        put(file, "old values");
        gFailure = c.error;
        gWritesLeft = c.writesFirst;
        EXPECT_EQ(writeFile("new values", file, c.calls), notSaved(file, c.error));
        EXPECT_EQ(contents(file), QByteArray("old values"));
        gWritesLeft = c.writesFirst;
        EXPECT_EQ(writeFile("new values", fresh, c.calls), notSaved(fresh, c.error));
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("kept.csv")});
    }
}

TEST_F(FileWrites, ShortAndInterruptedWritesAreCarriedOn)
{
    const QString file = path("values.csv");
    const QByteArray bytes = "0123456789abcdefghij";
    gWritesLeft = 1000;
    EXPECT_EQ(writeFile(bytes, file, {writeThenFail, ::fsync}), QString());
    EXPECT_EQ(contents(file), bytes);
    gWritesLeft = 3;
    EXPECT_EQ(writeFile("again", file, {interruptedOnce, ::fsync}), QString());
    EXPECT_EQ(contents(file), QByteArray("again"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("values.csv")});
}

TEST_F(FileWrites, TheReplacedFileKeepsItsModeAndALinkStaysALink)
{
    const QString file = path("shared.csv");
    put(file, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(file, path("link.csv")));

    EXPECT_EQ(writeFile("new", path("link.csv")), QString());
    EXPECT_TRUE(QFileInfo(path("link.csv")).isSymLink());
    EXPECT_EQ(contents(file), QByteArray("new"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral("link.csv"), QStringLiteral("shared.csv")}));

    // A folder by the name is not replaced by a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));
    EXPECT_EQ(writeFile("new", path("folder.csv")), notSaved(path("folder.csv"), EISDIR));
    EXPECT_TRUE(QFileInfo(path("folder.csv")).isDir());
}

// What a child process said through a pipe and how it ended.
struct ChildEnd {
    QString said;
    int status = 0;
};

// Runs a save in a child process, which sends back what the save returned.
template <typename Save>
ChildEnd inChild(Save save)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {QStringLiteral("no pipe"), -1};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        const QByteArray said = save().toUtf8();
        const bool sent = ::write(channel[1], said.constData(), std::size_t(said.size())) == said.size();
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(channel[0]);
    ChildEnd end{QString::fromUtf8(said)};
    ::waitpid(child, &end.status, 0);
    return end;
}

bool exitedWell(const ChildEnd& end)
{
    return WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0;
}

TEST_F(FileWrites, AReadOnlyFileIsNotReplaced)
{
    const QString file = path("locked.csv");
    put(file, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    // Root may write any file: the save runs as an ordinary user, in a
    // folder where it could put a file of its own.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    constexpr uid_t kNobody = 65534;
    const ChildEnd end = inChild([&] {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            return QStringLiteral("cannot become another user");
        return writeFile("new", file);
    });
    ASSERT_TRUE(exitedWell(end));
    EXPECT_EQ(end.said, notSaved(file, EACCES));
    EXPECT_EQ(contents(file), QByteArray("old"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("locked.csv")});
}

// A save under a file-size limit smaller than the file, as `ulimit -f` sets.
ChildEnd saveUnderSizeLimit(const QString& file, bool asTheProgramStarts)
{
    return inChild([&] {
        if (asTheProgramStarts)
            ignoreFileSizeSignal();
        constexpr rlim_t kLimit = 1024;
        const rlimit small{kLimit, kLimit};
        ::setrlimit(RLIMIT_FSIZE, &small);
        return writeFile(QByteArray(4 * kLimit, 'x'), file);
    });
}

TEST_F(FileWrites, AFileSizeLimitFailsTheSaveInsteadOfKillingTheProgram)
{
    const QString file = path("big.png");
    put(file, "old");
    // Without the program's start-up, the signal ends the process.
    const ChildEnd killed = saveUnderSizeLimit(file, false);
    ASSERT_TRUE(WIFSIGNALED(killed.status));
    EXPECT_EQ(WTERMSIG(killed.status), SIGXFSZ);

    const ChildEnd told = saveUnderSizeLimit(file, true);
    ASSERT_TRUE(exitedWell(told));
    EXPECT_EQ(told.said, notSaved(file, EFBIG));
    EXPECT_EQ(contents(file), QByteArray("old"));
    // A crash leaves at most the killed child's temporary file (none where
    // the file system has unnamed temporary files).
    QStringList left = entries(dir.path());
    left.removeIf([](const QString& name) { return name.startsWith(QStringLiteral("big.png.")); });
    EXPECT_EQ(left, QStringList{QStringLiteral("big.png")});
}

}  // namespace
}  // namespace t1::testing
