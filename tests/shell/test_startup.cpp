// Start-up in a poor setting: no commentary anywhere, a working directory
// that holds nothing and may not be written, the preferred font missing.
// The program starts, runs every lesson, and says what is missing only
// when a lesson needs it.
#include "lessons/lesson_table.h"
#include "picture/colours.h"
#include "picture/fonts.h"
#include "tests/support/window_rig.h"

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QIcon>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace t1;
using namespace t1::testing;

namespace {

bool isPi(const LessonRow& run)
{
    return run.regulation == Regulation::PI;
}

// Runs a lesson as a student does: the menu row, "en continu", the start
// button, then ticks until the clock stops.
void runLesson(const WindowForm& ui, const LessonRow& run)
{
    clickRow(ui.ListBox1, menuIndex(run));
    if (run.running == Running::Sampled)
        clickRow(isPi(run) ? ui.ListBox3 : ui.ListBox2, 0);
    QTest::mouseClick(ui.Button1, Qt::LeftButton);
    ASSERT_EQ(ui.window.scene().st.gSceneTick, run.band.start) << run.runName;
    for (int i = 0; i < runTicks(run); ++i)
        ui.Timer1Timer();
}

QString notices(const TTemperature1& w)
{
    QStringList texts;
    for (const QMessageBox* box : w.findChildren<QMessageBox*>()) {
        if (box->isVisible())
            texts.append(box->text());
    }
    return texts.join(u'\n');
}

// Puts the working directory somewhere for the length of a test.
struct WorkingDirectory {
    explicit WorkingDirectory(const QString& dir) { QDir::setCurrent(dir); }
    ~WorkingDirectory() { QDir::setCurrent(m_saved); }
    QString m_saved = QDir::currentPath();
};

}  // namespace

TEST(StartUp, TheWindowCarriesTheProgramsIcon)
{
    TTemperature1 w;
    const WindowForm ui(w);
    ui.Timer1->stop();
    const QIcon icon = w.windowIcon();
    ASSERT_FALSE(icon.isNull());
    // Drawn from its SVG at any size: the thermometer's red bulb is there.
    const QImage big = icon.pixmap(QSize(128, 128)).toImage();
    ASSERT_EQ(big.size(), QSize(128, 128));
    int red = 0;
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x) {
            const QColor c = big.pixelColor(x, y);
            red += c.alpha() == 255 && c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 100);
}

// No document anywhere: nothing is said at start-up nor by the lessons that
// need none; the PI lessons say once per run that their recurrence is
// missing and go on; Commentaires names its own document.
TEST(StartUp, WithoutAnyDocumentOnlyWhatIsNeededIsReported)
{
    QTemporaryDir nothing;
    WorkingDirectory cwd(nothing.path());
    TTemperature1 w;
    const WindowForm ui(w);
    ui.Timer1->stop();
    w.commentary().setSearchDirs({nothing.path()});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (int i = 0; i < 10; ++i)
        ui.Timer1Timer();
    EXPECT_EQ(notices(w), QString());

    for (const LessonRow& run : kLessons) {
        SCOPED_TRACE(run.runName);
        for (QMessageBox* box : w.findChildren<QMessageBox*>())
            box->close();
        runLesson(ui, run);
        EXPECT_EQ(w.scene().st.gSceneTick, run.running == Running::Page ? run.band.start : run.band.start + runTicks(run));
        const QString said = notices(w);
        if (isPi(run)) {
            EXPECT_TRUE(said.contains(QStringLiteral("comm2.rtf"))) << said.toStdString();
            EXPECT_EQ(said.count(QStringLiteral("comm2.rtf")), 1);
        } else {
            EXPECT_EQ(said, QString());
        }
    }

    // The PI disturbance's commentary is comm5.rtf.
    for (QMessageBox* box : w.findChildren<QMessageBox*>())
        box->close();
    runLesson(ui, lesson("disturbance PI"));
    ASSERT_TRUE(ui.Button3->isVisible());
    QTest::mouseClick(ui.Button3, Qt::LeftButton);
    EXPECT_TRUE(notices(w).contains(QStringLiteral("comm5.rtf")));
    EXPECT_TRUE(ui.RichEdit1->isVisible());
    EXPECT_EQ(ui.RichEdit1->toPlainText(), QStringLiteral("RichEdit1"));
}

// Started from an empty folder that it may not write to, the program finds
// its documents where it is installed (here the build's copy beside bin/)
// and leaves the folder as it found it.
TEST(StartUp, FromAReadOnlyEmptyFolderTheDocumentsAreFoundBesideTheProgram)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    {
        WorkingDirectory cwd(dir.path());
        TTemperature1 w;
        const WindowForm ui(w);
        ui.Timer1->stop();
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        for (const LessonRow& run : kLessons) {
            runLesson(ui, run);
            if (ui.Button3->isVisible())
                QTest::mouseClick(ui.Button3, Qt::LeftButton);
        }
        EXPECT_EQ(notices(w), QString());
        EXPECT_TRUE(ui.RichEdit1->toPlainText().contains(QStringLiteral("perturbation")));
        EXPECT_TRUE(ui.RichEdit2->toPlainText().startsWith(QStringLiteral("Epu(k)")));
    }
    const QDir left(dir.path());
    EXPECT_TRUE(left.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Run by its own test with a font configuration that lacks the preferred
// family (T1_WITHOUT_PREFERRED_FONT set): another sans-serif takes its place,
// every lesson runs and its texts are drawn.
TEST(WithoutPreferredFont, EveryLessonRunsAndDrawsItsTexts)
{
    if (qEnvironmentVariableIsEmpty("T1_WITHOUT_PREFERRED_FONT"))
        GTEST_SKIP() << "needs the font configuration of its own test";
    const QFontInfo used(fonts::make(fonts::pt7));
    ASSERT_NE(used.family(), QString::fromLatin1(fonts::family)) << "the preferred font is still installed here";

    TTemperature1 w;
    const WindowForm ui(w);
    ui.Timer1->stop();
    w.commentary().setSearchDirs({QStringLiteral(T1_RESOURCES_DIR)});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const Canvas& surface = w.scene().surfaces.window;
    const auto bluePixels = [&] {
        int n = 0;
        for (int y = kLessonAreaTop; y < kLessonAreaBottom; ++y)
            for (int x = kLessonAreaLeft; x < kLessonAreaRight; ++x)
                n += surface.pixel(x, y) == colour::blue;
        return n;
    };
    for (const LessonRow& run : kLessons) {
        SCOPED_TRACE(run.runName);
        runLesson(ui, run);
        EXPECT_GT(bluePixels(), 1000);
    }
    EXPECT_EQ(notices(w), QString());
    QTest::mouseClick(ui.Button3, Qt::LeftButton);
    EXPECT_TRUE(ui.RichEdit1->toPlainText().contains(QStringLiteral("perturbation")));
}
