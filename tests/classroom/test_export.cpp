#include "tests/support/lesson_rig.h"
#include "tests/support/classroom_rig.h"
#include "tests/support/answer_box.h"
#include "stage/file_writes.h"
#include "stage/image_view.h"
#include "classroom/pause.h"
#include "stage/zoom.h"
#include "picture/colours.h"
#include "tests/support/file_contents.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/mount.h>
#include <unistd.h>

using namespace t1;
using namespace t1::testing;

namespace {

class ExportTest : public ClassroomRig {
protected:
    void SetUp() override
    {
        ClassroomRig::SetUp();
        ASSERT_TRUE(dir.isValid());
        Exporter& e = classroom().exporter();
        e.setAskPath([this](const SaveRequest& r, const QString&) {
            asked << r.fileName;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        e.setConfirmReplace([this](const QString& file) {
            replacing << file;
            return replace;
        });
        e.setOfferRetry([this](const QString& message) {
            failures << message;
            return !answers.isEmpty();
        });
        e.setInform([this](const QString& message) { told << message; });
    }

    QString path(const char* name) { return dir.filePath(QString::fromUtf8(name)); }

    // The data lines of a CSV file, without its header.
    static QStringList csvLines(const QString& file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));  // UTF-8, said so for the spreadsheet
        QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.takeFirst(), QStringLiteral("Instant local;E;Ep;Epu;U (V);S (V);X;Température (°C)"));
        EXPECT_EQ(lines.takeLast(), QString());  // the last line ends too
        return lines;
    }

    QTemporaryDir dir;
    QStringList answers;  // what the file dialog answers, in turn
    QStringList asked;    // the names it suggested
    QStringList failures;
    QStringList told;
    QStringList replacing;  // the files the user was asked to replace
    bool replace = false;
};

double number(const QString& field)
{
    return QString(field).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

// A small file system of its own, which a test fills up. Mounting it needs
// root, as the test suite runs in continuous integration.
class SmallDisk {
public:
    SmallDisk()
    {
        const QByteArray where = QFile::encodeName(m_folder.path());
        m_mounted = m_folder.isValid() && ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") == 0;
        if (!m_mounted)
            m_whyNot = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    std::string whyNot() const { return m_whyNot.toStdString(); }
    QString path(const char* name) const { return m_folder.filePath(QString::fromUtf8(name)); }

    // Takes every byte left, down to the last one.
    void fill() const
    {
        const int fd = ::open(QFile::encodeName(path(kFiller)).constData(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        for (std::size_t block = 4096; block > 0; block /= 2) {
            const std::string bytes(block, 'f');
            while (::write(fd, bytes.data(), block) > 0) {
            }
        }
        EXPECT_EQ(errno, ENOSPC);
        ::close(fd);
    }
    void makeRoom() const { QFile::remove(path(kFiller)); }
    QStringList files() const { return QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    static constexpr const char* kFiller = "filler";

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_whyNot;
};

}  // namespace

TEST_F(ExportTest, FullPRunGivesOneLinePerDrawnTickWithTheScriptsValues)
{
    startContinuous(lesson("closed loop P"));
    ticks(260);
    answers << path("p.csv");
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(asked, QStringList{QStringLiteral("Rép. Ind. en boucle fermée (régulation P).csv")});

    const QStringList lines = csvLines(path("p.csv"));
    ASSERT_EQ(lines.size(), 239);
    EXPECT_EQ(lines.first(), QStringLiteral("2;100;100;200;7,8;0,1;0;20,8"));
    EXPECT_EQ(lines[38], QStringLiteral("40;100;64;128;5;1,5;36;32"));
    EXPECT_EQ(lines[198], QStringLiteral("200;100;35;70;2,7;2,6;65;40,8"));
    EXPECT_EQ(lines.last().section(QLatin1Char(';'), 1), lines[237].section(QLatin1Char(';'), 1));

    // Every line against the lesson run on its own, tick by tick.
    LessonRig rig;
    rig.start(lesson("closed loop P").band.start);
    for (const QString& line : lines) {
        sceneTick(rig.scene);
        const LoopValues& v = rig.scene.st;
        const QStringList f = line.split(QLatin1Char(';'));
        ASSERT_EQ(f.size(), 8);
        EXPECT_EQ(f[0].toInt(), rig.scene.st.gTickLoopP());
        const double want[] = {v.gE, v.gEp, v.gEpu, v.gU, v.gS, v.gX, v.gTemperature};
        for (int i = 0; i < 7; ++i)
            EXPECT_DOUBLE_EQ(number(f[i + 1]), want[i]) << line.toStdString();
    }
}

TEST_F(ExportTest, StepRunGoesOnAcrossPeriodsAndANewRunStartsAfresh)
{
    menu(lesson("closed loop P"));
    clickRow(ui->ListBox2, 1);
    for (int period = 1; period <= lesson("closed loop P").periods; ++period) {
        QTest::mouseClick(ui->Button2, Qt::LeftButton);
        ticks(50);
    }
    // Ticks 40, 80, 120, 160 and 200 are not drawn one period at a time.
    EXPECT_EQ(classroom().runLog().rows().size(), 234u);
    QTest::mouseClick(ui->Button2, Qt::LeftButton);  // period 1 again, area cleared
    EXPECT_TRUE(classroom().runLog().empty());
    ticks(50);
    EXPECT_EQ(classroom().runLog().rows().size(), 38u);
    EXPECT_EQ(classroom().runLog().rows().front().tick, 2);

    menu(lesson("open loop"));
    EXPECT_TRUE(classroom().runLog().empty());
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(told.size(), 1);
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(ExportTest, PictureIsTheSceneAsShownLessThePauseSign)
{
    startContinuous(lesson("closed loop P"));
    ticks(100);
    press(Qt::Key_P);
    const QImage screen = shown(800, 550);
    answers << path("p.png");
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(asked, QStringList{QStringLiteral("Rép. Ind. en boucle fermée (régulation P).png")});

    const QImage saved = QImage(path("p.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), QSize(800, 550));
    const QRect sign = classroom().pause().indicator()->geometry();
    const Canvas& surface = w->scene().surfaces.window;
    const Canvas& oven = w->scene().surfaces.fond;
    for (int y = 0; y < 550; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (sign.contains(x, y))
                ASSERT_EQ(saved.pixel(x, y), surface.pixel(x, y)) << x << "," << y;
            else
                ASSERT_EQ(saved.pixel(x, y), screen.pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(saved.pixel(kFondLeft + 100, kFondTop + 20), oven.pixel(100, 20));
    EXPECT_EQ(saved.pixel(630, 250), surface.pixel(630, 250));

    // Scaled for the class, the file still holds the scene at its own size.
    classroom().zoom().setFactor(2);
    EXPECT_EQ(classroom().picture(), saved);
}

TEST_F(ExportTest, FailedWriteIsExplainedAndAnotherNameKeepsTheData)
{
    startContinuous(lesson("open loop"));
    ticks(30);
    const QString nowhere = path("absent/o.csv");
    answers << nowhere << path("o.csv");
    press(Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("Impossible d'enregistrer le fichier « %1 »").arg(nowhere)));
    ticks(30);  // the run goes on while the user picks another name...
    EXPECT_EQ(csvLines(path("o.csv")).size(), 30);  // ...but the file holds what was asked for

    // Giving up after a failure writes nothing and says nothing more.
    answers << nowhere;
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(failures.size(), 2);
    EXPECT_FALSE(QFile::exists(nowhere));
}

// Both files would fit in a write buffer: the disk says it is full only
// when they are written out, which must not empty the files already there.
TEST_F(ExportTest, AFullDiskKeepsTheFilesThereAndSaysWhyInFrench)
{
    const SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << disk.whyNot() << "): run the tests as root";
    const QString values = disk.path("valeurs.csv");
    const QString picture = disk.path("image.png");
    put(values, "old values");
    put(picture, "old picture");
    disk.fill();

    startContinuous(lesson("closed loop P"));
    ticks(20);
    replace = true;
    answers << values;
    press(Qt::Key_E, Qt::ControlModifier);
    answers << picture;
    press(Qt::Key_S, Qt::ControlModifier);
    const QString full = QStringLiteral("Impossible d'enregistrer le fichier « %1 » : plus de place sur le disque.");
    EXPECT_EQ(failures, (QStringList{full.arg(values), full.arg(picture)}));
    EXPECT_EQ(contents(values), QByteArray("old values"));
    EXPECT_EQ(contents(picture), QByteArray("old picture"));
    EXPECT_EQ(disk.files(), (QStringList{QString::fromUtf8(SmallDisk::kFiller), QStringLiteral("image.png"),
                                         QStringLiteral("valeurs.csv")}));

    // Room made, the same saves go through.
    disk.makeRoom();
    answers << values << picture;
    press(Qt::Key_E, Qt::ControlModifier);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(failures.size(), 2);
    EXPECT_EQ(csvLines(values).size(), 20);
    EXPECT_EQ(QImage(picture).size(), QSize(800, 550));
}

TEST_F(ExportTest, ExistingFileIsReplacedOnlyWhenTheUserSaysSo)
{
    startContinuous(lesson("disturbance model"));
    ticks(10);
    QFile old(path("d.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("notes");
    old.close();

    answers << path("d.csv") << QString();  // then the user cancels
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(replacing, QStringList{path("d.csv")});
    EXPECT_EQ(asked.size(), 2);  // back to the dialog after "no"
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("notes"));
    old.close();

    replace = true;
    answers << path("d.csv");
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(csvLines(path("d.csv")).size(), 10);
}

// The exporter's own message boxes, as the user meets them: only the file
// dialog is answered by the test.
class ExportMessages : public ClassroomRig {
protected:
    void SetUp() override
    {
        ClassroomRig::SetUp();
        ASSERT_TRUE(dir.isValid());
        classroom().exporter().setAskPath(
            [this](const SaveRequest&, const QString&) { return answers.isEmpty() ? QString() : answers.takeFirst(); });
    }
    QTemporaryDir dir;
    QStringList answers;
};

TEST_F(ExportMessages, FileNamesAreShownAsTheyAreAndReasonsInFrench)
{
    SeenBox nothing;
    answerNextBox(nothing);
    menu(lesson("open loop"));
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(nothing.format, Qt::PlainText);
    EXPECT_TRUE(nothing.text.startsWith(QStringLiteral("Aucune valeur à exporter")));
    QApplication::setActiveWindow(w.get());  // the box took it

    // A name that reads as markup: shown as typed, not in bold.
    startContinuous(lesson("open loop"));
    ticks(5);
    const QString bold = dir.filePath(QStringLiteral("<b>gras.csv"));
    put(bold, "old");
    answers << bold << QString();
    SeenBox replacing;
    answerNextBox(replacing, QStringLiteral("Annuler"));
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(replacing.format, Qt::PlainText);
    EXPECT_EQ(replacing.text, QStringLiteral("Le fichier « %1 » existe déjà. Le remplacer ?").arg(bold));
    EXPECT_EQ(replacing.buttons, (QStringList{QStringLiteral("Remplacer"), QStringLiteral("Annuler")}));
    EXPECT_EQ(contents(bold), QByteArray("old"));
    QApplication::setActiveWindow(w.get());

    const QString nowhere = dir.filePath(QStringLiteral("absent/<i>penché.png"));
    answers << nowhere;
    SeenBox failed;
    answerNextBox(failed, QStringLiteral("Abandonner"));
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(failed.format, Qt::PlainText);
    EXPECT_EQ(failed.text,
              QStringLiteral("Impossible d'enregistrer le fichier « %1 » : fichier ou dossier introuvable.").arg(nowhere));
    EXPECT_EQ(failed.buttons, (QStringList{QStringLiteral("Choisir un autre fichier"), QStringLiteral("Abandonner")}));
}

TEST(ExportFiles, ExistingFileIsKeptWhenTheNewOneCannotBeWritten)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kept.png"));
    put(file, "old");
    // A null image cannot be written: said in French too.
    EXPECT_EQ(writePng(QImage(), file),
              QStringLiteral("Impossible d'enregistrer le fichier « %1 » : l'image est vide.").arg(file));
    EXPECT_EQ(contents(file), QByteArray("old"));
}

TEST(ExportFiles, LessonTitlesBecomeSafeFileNames)
{
    const std::map<QString, QString> names{
        {QStringLiteral("Rép. Ind. en boucle fermée (régulation P)"),
         QStringLiteral("Rép. Ind. en boucle fermée (régulation P)")},
        {QStringLiteral("a/b\\c:d*e?f\"g<h>i|j"), QStringLiteral("a-b-c-d-e-f-g-h-i-j")},
        {QStringLiteral(" ..caché. "), QStringLiteral("caché")},
        {QStringLiteral("deux\tmots\n"), QStringLiteral("deux-mots-")},
        {QStringLiteral("..."), QStringLiteral("Temperature1")},
    };
    for (const auto& [title, name] : names)
        EXPECT_EQ(safeFileName(title), name) << title.toStdString();
}
