#include "shell/commentary_panel.h"
#include "shell/temperature1.h"
#include "picture/colours.h"
#include "tests/support/rtf_text.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using t1::test::plain;

constexpr int kMenuLoopP = 2;
constexpr int kMenuLoopPI = 3;
constexpr int kMenuDisturbPI = 6;
constexpr int kContinuous = 0;
constexpr int kStepByStep = 1;

QString textOf(const QTextEdit* box)
{
    return plain(*box->document());
}

bool isOn(const QWidget* w)
{
    return w->isVisibleTo(w->parentWidget()) && w->isEnabled();
}

// The window with the shipped documents in a directory of its own, its
// timer stopped: the tests run the ticks themselves.
class CommentaryWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir resources(QStringLiteral(T1_RESOURCES_DIR));
        for (const QString& name : resources.entryList({QStringLiteral("comm*.rtf")}))
            ASSERT_TRUE(QFile::copy(resources.filePath(name), dir.filePath(name)));
        window.Timer1->stop();
        window.commentary().setSearchDirs({dir.path()});
        window.commentary().setReporter([this](const QString& message) { messages.append(message); });
    }

    void replace(const char* name, const QByteArray& data)
    {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }

    void remove(const char* name) { ASSERT_TRUE(QFile::remove(dir.filePath(QString::fromUtf8(name)))); }

    // A PI lesson's tick, as the lesson drives its recurrence box.
    void piTick()
    {
        window.Timer1Timer();
        window.showRecurrenceBox();
    }

    void startContinuous(int menuItem)
    {
        window.ListBox1->setCurrentRow(menuItem);
        QListWidget* modes = (menuItem == kMenuLoopPI || menuItem == kMenuDisturbPI) ? window.ListBox3 : window.ListBox2;
        modes->setCurrentRow(kContinuous);
        window.Button1Click();
    }

    int& clock() { return window.scene().st.gSceneTick; }

    QTemporaryDir dir;
    TTemperature1 window;
    QStringList messages;
};

TEST(CommentaryPanel, EachClockRangeHasItsDocument)
{
    const std::map<int, const char*> expected{
        {1001, "comm1.rtf"}, {1151, "comm1.rtf"}, {1240, "comm1.rtf"}, {1999, "comm1.rtf"},
        {2001, "comm3.rtf"}, {2240, "comm3.rtf"}, {4001, "comm4.rtf"}, {4240, "comm4.rtf"},
        {5001, "comm5.rtf"}, {5240, "comm5.rtf"}, {5999, "comm5.rtf"},
    };
    for (const auto& [clock, file] : expected)
        EXPECT_STREQ(CommentaryPanel::commentaryFile(clock), file) << clock;
    for (int clock : {-1, 0, 1, 255, 1000, 2000, 3000, 3001, 3220, 4000, 5000, 6000})
        EXPECT_EQ(CommentaryPanel::commentaryFile(clock), nullptr) << clock;
}

TEST_F(CommentaryWindow, CommentairesShowsTheDocumentOfTheClocksLesson)
{
    // Also once a lesson has finished, its clock resting on the band's end.
    const std::map<int, QString> expected{
        {1151, QStringLiteral("Réponse indicielle en boucle fermée")},
        {1240, QStringLiteral("Réponse indicielle en boucle fermée")},
        {2240, QStringLiteral("Réponse pile en boucle fermée")},
        {4240, QStringLiteral("Réponse à une perturbation – régulation proportionnelle")},
        {5240, QStringLiteral("Réponse à une perturbation – régulation PI")},
    };
    for (const auto& [tick, title] : expected) {
        clock() = tick;
        window.Button3Click();
        EXPECT_TRUE(isOn(window.RichEdit1)) << tick;
        EXPECT_FALSE(window.RichEdit1->isReadOnly());
        EXPECT_TRUE(textOf(window.RichEdit1).startsWith(title)) << tick;
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    // Text the document leaves uncoloured reads black, not in the window's blue.
    EXPECT_EQ(window.RichEdit1->palette().color(QPalette::Text), QColor::fromRgb(t1::colour::black));
}

TEST_F(CommentaryWindow, CommentairesOutsideTheLessonsShowsTheBoxAsItIs)
{
    for (int tick : {0, 255, 3220}) {
        clock() = tick;
        window.Button3Click();
        EXPECT_TRUE(isOn(window.RichEdit1));
        EXPECT_EQ(window.RichEdit1->toPlainText(), QStringLiteral("RichEdit1"));
    }
    clock() = 1240;
    window.Button3Click();
    clock() = 0;
    window.Button3Click();
    EXPECT_TRUE(textOf(window.RichEdit1).contains(QStringLiteral("erreur statique")));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CommentaryWindow, CommentairesAgainReloadsFromTheBeginning)
{
    window.resize(800, 550);
    window.show();
    clock() = 1240;
    window.Button3Click();
    window.RichEdit1->moveCursor(QTextCursor::End);
    window.RichEdit1->insertPlainText(QStringLiteral("tapé par l'élève"));
    window.RichEdit1->verticalScrollBar()->setValue(window.RichEdit1->verticalScrollBar()->maximum());
    ASSERT_GT(window.RichEdit1->verticalScrollBar()->value(), 0) << "the commentary should need scrolling";

    window.Button3Click();
    EXPECT_FALSE(textOf(window.RichEdit1).contains(QStringLiteral("tapé par l'élève")));
    EXPECT_EQ(window.RichEdit1->verticalScrollBar()->value(), 0);
    EXPECT_EQ(window.RichEdit1->textCursor().position(), 0);
}

// Every load replaces the box's document: the one it replaces is freed, or
// a long lesson session would grow by a document per click and per run.
TEST_F(CommentaryWindow, ReloadingFreesTheDocumentItReplaces)
{
    const auto documents = [](const QTextEdit* box) {
        return box->findChildren<QTextDocument*>(Qt::FindDirectChildrenOnly).size();
    };
    clock() = 1240;
    window.Button3Click();
    window.showRecurrenceBox();
    const auto commentaryDocs = documents(window.RichEdit1);
    const auto recurrenceDocs = documents(window.RichEdit2);
    QPointer<QTextDocument> first = window.RichEdit1->document();
    for (int i = 0; i < 20; ++i) {
        clock() = i % 2 ? 1240 : 5240;
        window.Button3Click();
        window.commentary().newRun();
        window.showRecurrenceBox();
    }
    EXPECT_EQ(documents(window.RichEdit1), commentaryDocs);
    EXPECT_EQ(documents(window.RichEdit2), recurrenceDocs);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CommentaryWindow, AMissingCommentaryIsReportedAndTheBoxKeepsItsContent)
{
    clock() = 1240;
    window.Button3Click();
    const QString before = window.RichEdit1->toPlainText();

    remove("comm1.rtf");
    window.Button3Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("comm1.rtf")));
    EXPECT_TRUE(messages[0].contains(QStringLiteral("introuvable")));
    EXPECT_TRUE(isOn(window.RichEdit1));
    EXPECT_EQ(window.RichEdit1->toPlainText(), before);

    replace("comm5.rtf", "<html>pas du RTF</html>");
    clock() = 5240;
    window.Button3Click();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QStringLiteral("comm5.rtf")));
    EXPECT_TRUE(messages[1].contains(QStringLiteral("n'est pas un document RTF")));
    EXPECT_EQ(window.RichEdit1->toPlainText(), before);
}

TEST_F(CommentaryWindow, TheRecurrenceIsLoadedOncePerRunNotOnEveryTick)
{
    startContinuous(kMenuLoopPI);
    ASSERT_EQ(clock(), 2001);
    piTick();
    EXPECT_TRUE(isOn(window.RichEdit2));
    EXPECT_FALSE(window.RichEdit2->isReadOnly());
    EXPECT_EQ(textOf(window.RichEdit2), QStringLiteral("Epu(k) = Epu(k-1) + 5,52·Ep(k) − 4,52·Ep(k-1)"));
    const QTextDocument* shown = window.RichEdit2->document();

    // Changed on disk during the run: the run keeps what it loaded.
    replace("comm2.rtf", "{\\rtf1 nouvelle version}");
    for (int i = 0; i < 100; ++i)
        piTick();
    EXPECT_EQ(window.RichEdit2->document(), shown);
    EXPECT_TRUE(textOf(window.RichEdit2).startsWith(QStringLiteral("Epu(k)")));

    // The next run reads it again.
    window.Button1Click();
    EXPECT_FALSE(isOn(window.RichEdit2));
    piTick();
    EXPECT_EQ(textOf(window.RichEdit2), QStringLiteral("nouvelle version"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CommentaryWindow, AMissingRecurrenceIsReportedOncePerRunAndTheLessonGoesOn)
{
    remove("comm2.rtf");
    startContinuous(kMenuDisturbPI);
    for (int i = 0; i < 150; ++i)
        piTick();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("comm2.rtf")));
    EXPECT_EQ(clock(), 5151);
    EXPECT_TRUE(isOn(window.RichEdit2));
    EXPECT_EQ(window.RichEdit2->toPlainText(), QStringLiteral("RichEdit2"));

    // A new run may report again, once.
    window.Button1Click();
    for (int i = 0; i < 150; ++i)
        piTick();
    EXPECT_EQ(messages.size(), 2);

    // Step by step: starting period 1 is a new run, the later periods are not.
    window.ListBox3->setCurrentRow(kStepByStep);
    window.Button4Click();  // period 1
    for (int i = 0; i < 40; ++i)
        piTick();
    EXPECT_EQ(messages.size(), 3);
    for (int period = 2; period <= 6; ++period) {
        window.Button4Click();
        for (int i = 0; i < 40; ++i)
            piTick();
    }
    EXPECT_EQ(messages.size(), 3);
    EXPECT_EQ(clock(), 5240);
    window.Button4Click();  // period 1 again
    piTick();
    EXPECT_EQ(messages.size(), 4);
}

TEST_F(CommentaryWindow, TheHandlersHideBothBoxes)
{
    const auto showBoth = [&] {
        clock() = 2240;
        window.Button3Click();
        window.showRecurrenceBox();
        ASSERT_TRUE(isOn(window.RichEdit1) && isOn(window.RichEdit2));
    };
    const auto expectHidden = [&](const char* by) {
        for (const QTextEdit* box : {window.RichEdit1, window.RichEdit2}) {
            EXPECT_FALSE(box->isVisibleTo(&window)) << by;
            EXPECT_FALSE(box->isEnabled()) << by;
        }
    };

    window.ListBox1->setCurrentRow(kMenuLoopPI);
    showBoth();
    window.ListBox1->setCurrentRow(kMenuLoopP);  // choix
    expectHidden("choix");

    showBoth();
    window.ListBox2->setCurrentRow(kContinuous);  // choixbis
    expectHidden("choixbis");

    window.ListBox1->setCurrentRow(kMenuLoopPI);
    showBoth();
    window.ListBox3->setCurrentRow(kStepByStep);  // choixter
    expectHidden("choixter");

    showBoth();
    window.Button4Click();
    expectHidden("Button4Click");
    showBoth();
    window.Button2Click();
    expectHidden("Button2Click");
    showBoth();
    window.Button1Click();
    expectHidden("Button1Click");
}

TEST_F(CommentaryWindow, TheRecurrenceFitsItsOneLineBox)
{
    window.resize(800, 550);
    window.show();
    window.showRecurrenceBox();
    ASSERT_TRUE(messages.isEmpty());
    QTextDocument* doc = window.RichEdit2->document();
    const QSize viewport = window.RichEdit2->viewport()->size();
    EXPECT_LE(doc->size().height(), viewport.height());
    EXPECT_LE(doc->idealWidth(), viewport.width());
    ASSERT_EQ(doc->blockCount(), 1);
    EXPECT_EQ(doc->firstBlock().layout()->lineCount(), 1);
    EXPECT_EQ(window.RichEdit2->verticalScrollBar()->maximum(), 0);
}

// Without a reporter of the tests' own, a problem opens one message box
// that does not block: nothing piles up and the timer keeps its events.
TEST(CommentaryNotice, IsOneBoxThatDoesNotBlock)
{
    QTemporaryDir empty;
    TTemperature1 window;
    window.Timer1->stop();
    window.commentary().setSearchDirs({empty.path()});
    window.show();

    window.scene().st.gSceneTick = 1240;
    window.Button3Click();
    for (int i = 0; i < 20; ++i)
        window.showRecurrenceBox();
    window.commentary().newRun();
    window.showRecurrenceBox();

    const QList<QMessageBox*> boxes = window.findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    QMessageBox* box = boxes.first();
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("comm1.rtf")));
    EXPECT_TRUE(box->text().contains(QStringLiteral("comm2.rtf")));
    EXPECT_EQ(box->text().count(QStringLiteral("comm2.rtf")), 1);

    // Closed, it opens again for the next problem.
    box->close();
    window.Button3Click();
    EXPECT_EQ(window.findChildren<QMessageBox*>().size(), 1);
    EXPECT_TRUE(window.findChildren<QMessageBox*>().first()->isVisible());
}

}  // namespace
