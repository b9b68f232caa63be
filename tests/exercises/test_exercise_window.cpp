// The exercise window driven as a student drives it: typed answers, clicks
// on « Vérifier », a solution asked for, the window closed and opened
// again, the results exported; the teacher's correction against what the
// window used.
#include "exercises/answer_field.h"
#include "exercises/correction_text.h"
#include "exercises/exercise_plot.h"
#include "exercises/exercise_texts.h"
#include "exercises/exercise_window.h"
#include "exercises/sheet_chooser.h"
#include "exercises/sheet_file.h"
#include "model/correction.h"
#include "model/draw.h"
#include "model/exercise_kinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace t1 {
namespace {

const QString kStudent = QStringLiteral("Jean Dupont");

model::Sheet shipped(const char* name)
{
    const SheetFile f = readSheet(QStringLiteral(T1_RESOURCES_DIR "/") + QString::fromUtf8(name));
    EXPECT_TRUE(f.ok()) << f.error.toStdString();
    return *f.sheet;
}

// Every text the window shows, in its labels, boxes and list.
QString everyText(const QWidget& w)
{
    QStringList texts;
    for (const QLabel* l : w.findChildren<QLabel*>())
        texts << l->text();
    for (const QLineEdit* e : w.findChildren<QLineEdit*>())
        texts << e->text();
    for (const QListWidget* list : w.findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    return texts.join(QLatin1Char('\n'));
}

class ExerciseWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<ExerciseWindow> open(const model::Sheet& sheet)
    {
        auto w = std::make_unique<ExerciseWindow>(sheet, kStudent,
                                                  *holdProgress(dir.filePath(QStringLiteral("progression.json"))));
        w->show();
        return w;
    }

    static void type(ExerciseWindow& w, std::string_view key, const QString& text)
    {
        AnswerField* f = w.answerField(key);
        ASSERT_TRUE(f) << key;
        f->edit()->clear();
        QTest::keyClicks(f->edit(), text);
    }

    static void verify(ExerciseWindow& w) { QTest::mouseClick(w.checkButton, Qt::LeftButton); }

    QTemporaryDir dir;
};

// An identification sheet from the first answer to the export: wrong,
// refused, right; a solution asked for; the window closed and found again.
TEST_F(ExerciseWindowTest, AStudentDoesTheIdentificationSheet)
{
    const model::Sheet sheet = shipped("feuille-identification.json");
    const model::SheetCorrection truth = model::correction(sheet, kStudent.toStdString());
    // The hidden values as the solution words them: none may show before the end.
    QStringList hidden;
    for (const model::DrawnValue& v : truth.exercises[0].hidden)
        hidden << parameterText(v.key, v.value);
    {
        auto w = open(sheet);
        EXPECT_EQ(w->title->text(), QStringLiteral("Identification du four"));
        ASSERT_EQ(w->exerciseList->count(), 3);
        EXPECT_TRUE(w->plot->hasRun());
        EXPECT_TRUE(w->givens->text().contains(QStringLiteral("K inconnu")));
        for (const QString& h : hidden)
            EXPECT_FALSE(everyText(*w).contains(h)) << h.toStdString();

        // Junk is refused at its box, in French, and costs no try.
        type(*w, "K", QStringLiteral("beaucoup"));
        verify(*w);
        EXPECT_TRUE(w->answerField("K")->message().contains(QStringLiteral("entrez un nombre")));
        EXPECT_EQ(w->progress().exercises[0].tries, 0);
        EXPECT_FALSE(w->message->text().isEmpty());

        // Wrong: a cross, no solution; the helpers draw over the run.
        type(*w, "K", QStringLiteral("0,1"));
        type(*w, "T1_s", QStringLiteral("1000"));
        type(*w, "theta_s", QStringLiteral("1/5"));
        verify(*w);
        EXPECT_EQ(w->progress().exercises[0].tries, 1);
        EXPECT_TRUE(w->verdict->text().contains(QStringLiteral("\u2718 K : 0,1")));
        EXPECT_FALSE(w->solution->isVisible());
        EXPECT_TRUE(w->tries->text().startsWith(QStringLiteral("Essais : 1 sur 3 — 1 essai.")));
        const QImage bare = w->plot->picture();
        QTest::keyClicks(w->levelFrom->edit(), QStringLiteral("0"));
        QTest::keyClicks(w->levelTo->edit(), QStringLiteral("5"));
        QTest::mouseClick(w->levelsBox, Qt::LeftButton);
        EXPECT_NE(w->plot->picture(), bare);

        // The crosshair reads S on the exact curve, nothing before the axis.
        const model::Simulation run = model::exerciseRun(w->current(), w->current().parameters);
        const QString reading = w->plot->readingAt(w->plot->pointOf(10, run.sAt(10)));
        const QRegularExpressionMatch read =
            QRegularExpression(QStringLiteral("^t = ([0-9,]+) s ; S = ([0-9,]+) V$")).match(reading);
        ASSERT_TRUE(read.hasMatch()) << reading.toStdString();
        const double seconds = read.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        EXPECT_NEAR(seconds, 300, 4);  // a pixel of the axis
        EXPECT_EQ(read.captured(2), frenchNumber(run.sAt(seconds / 30), 2));  // T = 30 s
        EXPECT_TRUE(w->plot->readingAt(QPoint(0, 0)).isEmpty());
        QTest::mouseClick(w->levelsBox, Qt::LeftButton);
        const QImage unrevealed = w->plot->picture();

        // Right, from the teacher's correction, the ratio of the gain as a percentage.
        const auto& answers = truth.exercises[0].answers;
        type(*w, "K", frenchNumber(answers[0].value * 100, 1) + QStringLiteral(" %"));
        type(*w, "T1_s", QString::number(answers[1].value));
        type(*w, "theta_s", frenchNumber(answers[2].value, 2));
        verify(*w);
        EXPECT_TRUE(w->progress().exercises[0].solved);
        EXPECT_TRUE(w->solution->isVisible());
        for (const QString& h : hidden)
            EXPECT_TRUE(w->solution->text().contains(h)) << h.toStdString();
        EXPECT_FALSE(w->checkButton->isEnabled());
        EXPECT_TRUE(w->exerciseList->item(0)->text().endsWith(QStringLiteral("réussi")));
        EXPECT_NE(w->plot->picture(), unrevealed);  // the student's model over the run

        // The second exercise: wrong once, then the solution asked for.
        w->exerciseList->setCurrentRow(1);
        EXPECT_EQ(w->currentIndex(), 1u);
        EXPECT_FALSE(w->revealButton->isEnabled());
        type(*w, "K", QStringLiteral("3"));
        verify(*w);
        ASSERT_TRUE(w->revealButton->isEnabled());
        QTest::mouseClick(w->revealButton, Qt::LeftButton);
        EXPECT_TRUE(w->progress().exercises[1].revealed);
        EXPECT_FALSE(w->checkButton->isEnabled());
        EXPECT_TRUE(w->exerciseList->item(1)->text().endsWith(QStringLiteral("terminé, non réussi")));

        // The third allows no solution after a wrong answer.
        w->exerciseList->setCurrentRow(2);
        EXPECT_FALSE(w->revealButton->isVisible());
        type(*w, "K", QStringLiteral("0.5"));
        verify(*w);
        w->close();
    }
    // Opened again: where the student was, the answers as typed.
    auto w = open(sheet);
    EXPECT_TRUE(w->exerciseList->item(0)->text().endsWith(QStringLiteral("réussi")));
    EXPECT_TRUE(w->exerciseList->item(2)->text().endsWith(QStringLiteral("1 essai")));
    EXPECT_TRUE(w->solution->isVisible());
    EXPECT_EQ(w->answerField("T1_s")->text(), QString::number(truth.exercises[0].answers[1].value));
    w->exerciseList->setCurrentRow(2);
    EXPECT_EQ(w->answerField("K")->text(), QStringLiteral("0.5"));
    EXPECT_TRUE(w->checkButton->isEnabled());

    // The export: the true values of the finished exercises only.
    const QString csv = dir.filePath(QStringLiteral("résultats.csv"));
    ASSERT_TRUE(w->exportResults(csv)) << w->message->text().toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 6);
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("1;Identifier le four;réussi;2;"))) << lines[3].toStdString();
    EXPECT_TRUE(lines[3].contains(QStringLiteral("T1 = %1 s").arg(truth.exercises[0].answers[1].value)));
    for (const QString& h : hidden)
        EXPECT_TRUE(lines[3].contains(h));
    const model::SheetCorrection all = model::correction(sheet, kStudent.toStdString());
    for (const model::DrawnValue& v : all.exercises[2].hidden)
        EXPECT_FALSE(lines[5].contains(parameterText(v.key, v.value))) << lines[5].toStdString();
    QFile pdf(pdfPathOf(csv));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    // A page for the sheet, then one for each exercise, each with its plots.
    const QString drawn = QString::fromLatin1(pdf.readAll());
    EXPECT_EQ(drawn.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1 + 3);
    EXPECT_EQ(drawn.count(QRegularExpression(QStringLiteral("/Subtype\\s*/Image\\b"))), 3);
    // The progress file holds no hidden value either.
    QFile progress(w->progressFile());
    ASSERT_TRUE(progress.open(QIODevice::ReadOnly));
    const QByteArray kept = progress.readAll();
    for (const model::DrawnValue& v : all.exercises[2].hidden) {
        if (const QString shown = frenchNumber(v.value, 3); shown.contains(QLatin1Char(','))) {
            EXPECT_FALSE(kept.contains(shown.toUtf8())) << v.key;
        }
    }
}

// In an identification the student steps the manual command when he likes,
// and a click on the curve fills the aid's box he is in; his steps are
// found again with the window.
TEST_F(ExerciseWindowTest, TheStudentStepsTheCommandAndMarksTheCurve)
{
    const model::Sheet sheet = shipped("feuille-identification.json");
    const auto step = [](ExerciseWindow& w, const QString& volts, const QString& at) {
        w.commandVolts->edit()->setText(volts);
        w.commandAt->edit()->setText(at);
        QTest::mouseClick(w.applyStepButton, Qt::LeftButton);
    };
    const auto u = [](const ExerciseWindow& w, int k) { return w.plot->run()->samples()[std::size_t(k)].u; };
    {
        auto w = open(sheet);
        EXPECT_TRUE(w->commandSteps->text().contains(QStringLiteral("5,02 V dès le départ")));
        EXPECT_FALSE(w->removeStepButton->isEnabled());
        step(*w, QStringLiteral("2"), QStringLiteral("0"));
        step(*w, QStringLiteral("6,5"), QStringLiteral("10"));
        step(*w, QStringLiteral("12"), QStringLiteral("20"));  // beyond the converter: refused at its box
        EXPECT_FALSE(w->commandVolts->message().isEmpty());
        step(*w, QStringLiteral("1"), QStringLiteral("25"));
        EXPECT_EQ(w->progress().exercises[0].steps.size(), 3u);
        QTest::mouseClick(w->removeStepButton, Qt::LeftButton);
        EXPECT_EQ(u(*w, 0), 2);
        EXPECT_NEAR(u(*w, 10), 6.5, model::kHalfStepVolts);
        EXPECT_EQ(u(*w, 30), u(*w, 10));
        EXPECT_TRUE(w->commandSteps->text().contains(QStringLiteral("dès l'acquisition 10 (t = 300 s)")))
            << w->commandSteps->text().toStdString();

        // A click on the curve: S there into a level's box, the instant into
        // the tangent's, the nearest acquisition into the step's.
        const model::Simulation& run = *w->plot->run();
        const QPoint at12 = w->plot->pointOf(12, run.sAt(12));
        w->levelTo->edit()->setFocus();
        QTest::mouseClick(w->plot, Qt::LeftButton, {}, at12);
        EXPECT_TRUE(w->levelsBox->isChecked());
        EXPECT_NEAR(readAnswer(w->levelTo->quantity(), w->levelTo->text().toStdString()).value.value_or(-1),
                    run.sAt(12), 0.05);
        w->tangentAt->edit()->setFocus();
        QTest::mouseClick(w->plot, Qt::LeftButton, {}, at12);
        EXPECT_TRUE(w->tangentBox->isChecked());
        EXPECT_NEAR(readAnswer(w->tangentAt->quantity(), w->tangentAt->text().toStdString()).value.value_or(-1),
                    360, 4);
        w->commandAt->edit()->setFocus();
        QTest::mouseClick(w->plot, Qt::LeftButton, {}, at12);
        EXPECT_EQ(w->commandAt->text(), QStringLiteral("12"));
        w->checkButton->setFocus();
        QTest::mouseClick(w->plot, Qt::LeftButton, {}, at12);
        EXPECT_TRUE(w->message->text().startsWith(QStringLiteral("Cliquez d'abord")));
        w->close();
    }
    auto w = open(sheet);
    EXPECT_EQ(w->progress().exercises[0].steps, (std::vector<model::CommandStep>{{0, 2}, {10, 6.5}}));
    EXPECT_NEAR(u(*w, 10), 6.5, model::kHalfStepVolts);
    w->exerciseList->setCurrentRow(1);  // another exercise, the sheet's own step
    EXPECT_NEAR(u(*w, 0), 5, model::kHalfStepVolts);
}

// The teacher's correction prints the values the student's window used.
TEST_F(ExerciseWindowTest, TheCorrectionHasTheWindowsValues)
{
    const model::Sheet sheet = shipped("feuille-identification.json");
    auto w = open(sheet);
    verify(*w);  // nothing typed: no try
    EXPECT_EQ(w->progress().exercises[0].tries, 0);
    EXPECT_TRUE(w->message->text().startsWith(QStringLiteral("Tapez au moins une réponse")));
    type(*w, "K", QStringLiteral("0,1"));
    verify(*w);
    QTest::mouseClick(w->revealButton, Qt::LeftButton);
    const QString correction = correctionText(sheet, QStringLiteral("  jean  DUPONT"));
    const QStringList shown = w->solution->text().section(QStringLiteral(" : "), 1).split(QStringLiteral(" ; "));
    ASSERT_EQ(shown.size(), 6);
    for (const QString& v : shown)
        EXPECT_TRUE(correction.contains(v)) << v.toStdString();
    EXPECT_EQ(w->exercise(0).parameters.oven.gain, model::correction(sheet, "Jean Dupont").exercises[0].parameters.oven.gain);
}

// A tuning: each criterion with its measure, the student's run drawn; a
// regulator's coefficient out of its range refused at its box.
TEST_F(ExerciseWindowTest, ATuningShowsEachCriterionMeasured)
{
    auto w = open(shipped("feuille-reglage.json"));
    EXPECT_FALSE(w->plot->hasRun());
    type(*w, "G", QStringLiteral("-3"));
    verify(*w);
    EXPECT_TRUE(w->answerField("G")->refused());
    EXPECT_EQ(w->progress().exercises[0].tries, 0);
    type(*w, "G", QStringLiteral("0,5"));
    verify(*w);
    EXPECT_TRUE(w->plot->hasRun());
    const QStringList lines = w->verdict->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("\u2718 Erreur statique ≤ 35 % : 66 %"));
    EXPECT_FALSE(w->progress().exercises[0].solved);
    type(*w, "G", QStringLiteral("2,5"));  // too much overshoot
    verify(*w);
    EXPECT_FALSE(w->progress().exercises[0].solved);
    type(*w, "G", QStringLiteral("2"));
    verify(*w);
    EXPECT_TRUE(w->progress().exercises[0].solved) << w->verdict->text().toStdString();
    const QImage solved = w->plot->picture();

    // PI, then the door from the steady state.
    w->exerciseList->setCurrentRow(1);
    type(*w, "q0", QStringLiteral("2"));
    type(*w, "q1", QStringLiteral("-1,6"));
    verify(*w);
    EXPECT_TRUE(w->progress().exercises[1].solved) << w->verdict->text().toStdString();
    w->exerciseList->setCurrentRow(3);
    ASSERT_EQ(w->regulatorChoice->count(), 2);
    w->regulatorChoice->setCurrentIndex(1);
    type(*w, "q0", QStringLiteral("2"));
    type(*w, "q1", QStringLiteral("-1,4"));
    verify(*w);
    EXPECT_TRUE(w->progress().exercises[3].solved) << w->verdict->text().toStdString();

    // The report's plots: the runs the student saw, found again from what
    // was kept; none for the exercise never checked.
    const ResultsReport report = w->report();
    ASSERT_EQ(report.exercises.size(), 4u);
    for (std::size_t i = 0; i < report.exercises.size(); ++i)
        EXPECT_EQ(report.exercises[i].plot.isNull(), w->progress().exercises[i].tries == 0) << i;
    EXPECT_EQ(report.exercises[0].plot, solved);
    EXPECT_EQ(report.exercises[3].plot, w->plot->picture());
}

// A prediction, one acquisition at a time, to the final score.
TEST_F(ExerciseWindowTest, APredictionIsScoredPeriodByPeriod)
{
    const model::Sheet sheet = shipped("feuille-prediction.json");
    auto w = open(sheet);
    const model::StudentExercise& x = w->current();
    const std::vector<model::Sample> run = model::exerciseRun(x, x.parameters).samples();
    for (int k = 0; k <= x.periods; ++k) {
        const model::Sample& s = run[std::size_t(k)];
        type(*w, "X", QString::number(s.x));
        type(*w, "Ep", QString::number(k == 2 ? s.ep + 1 : s.ep));  // one mistake
        type(*w, "Epu", QString::number(s.epu));
        type(*w, "U", frenchNumber(s.u, 3));
        verify(*w);
    }
    const ExerciseProgress& p = w->progress().exercises[0];
    EXPECT_TRUE(p.finished);
    EXPECT_EQ(p.judged, 4 * (x.periods + 1));
    EXPECT_EQ(p.right, p.judged - 1);
    EXPECT_TRUE(w->exerciseList->item(0)->text().endsWith(QStringLiteral("score final : 27 sur 28")));
    EXPECT_FALSE(w->checkButton->isEnabled());
}

// Answers read as a student types them.
TEST(AnswerReading, DecimalCommaPointFractionAndPercent)
{
    const model::Quantity ratio = answerQuantity("K", "K", model::Unit::None, 2);
    const model::Quantity seconds = answerQuantity("T1_s", "T1", model::Unit::Seconds, 1);
    for (const char* text : {"0,52", "0.52", " 52 % ", "52%", "13/25"})
        EXPECT_DOUBLE_EQ(readAnswer(ratio, text).value.value_or(-1), 0.52) << text;
    EXPECT_FALSE(readAnswer(ratio, "").value);
    EXPECT_TRUE(readAnswer(ratio, "").message.empty());
    for (const char* text : {"abc", "1/0", "5 %%", "0,5,2"})
        EXPECT_FALSE(readAnswer(ratio, text).message.empty()) << text;
    EXPECT_NE(readAnswer(seconds, "20 %").message.find("pourcentage"), std::string::npos);
    EXPECT_EQ(readAnswer(seconds, "1/5").value, 0.2);
}

// The chooser: the shipped sheets, the name kept, a bad file said in the dialog.
TEST_F(ExerciseWindowTest, TheChooserKeepsTheNameAndSaysWhatIsWrong)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings().remove(QStringLiteral("exercices"));
    {
        SheetChooser chooser;
        EXPECT_EQ(chooser.sheets->count(), 3);
        EXPECT_FALSE(chooser.choose(QStringLiteral(T1_RESOURCES_DIR "/feuille-reglage.json")));
        EXPECT_TRUE(chooser.message->text().contains(QStringLiteral("votre nom")));
        chooser.name->setText(QStringLiteral(" Zoé   Lefèvre "));
        const QString bad = dir.filePath(QStringLiteral("mauvaise.json"));
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(R"({"format": "temperature1-feuille", "version": 1, "id": "x", "exercices": [{"type": "dessin"}]})");
        f.close();
        EXPECT_FALSE(chooser.choose(bad));
        EXPECT_TRUE(chooser.message->text().contains(QStringLiteral("mauvaise.json")));
        EXPECT_TRUE(chooser.message->text().contains(QStringLiteral("exercice 1, clé « type »")));
        EXPECT_TRUE(chooser.choose(QStringLiteral(T1_RESOURCES_DIR "/feuille-reglage.json")));
        EXPECT_EQ(chooser.sheet()->title, "Régler la boucle : P puis PI");
    }
    EXPECT_EQ(SheetChooser::keptStudent(), QStringLiteral("Zoé Lefèvre"));
    QSettings().remove(QStringLiteral("exercices"));
}

// A sheet is open once for a student: picked again, the same window; held
// by another program, refused in the chooser, which stays; another
// student's opens beside.
TEST_F(ExerciseWindowTest, ASheetIsOpenOnceForAStudent)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString path = QStringLiteral(T1_RESOURCES_DIR "/feuille-reglage.json");
    const QString id = QString::fromStdString(shipped("feuille-reglage.json").id);
    const auto progressOf = [&id](const char* name) {
        return progressPath(id, QString::fromStdString(model::normalisedName(name)));
    };
    QWidget main;
    const auto start = [&main, &path](const QString& name) {
        SheetChooser* chooser = SheetChooser::start(&main);
        QWidget* opened = nullptr;
        QObject listening;
        QObject::connect(chooser, &SheetChooser::opened, &listening, [&opened](QWidget* w) { opened = w; });
        chooser->name->setText(name);
        chooser->choose(path);
        return std::pair(chooser, qobject_cast<ExerciseWindow*>(opened));
    };
    ExerciseWindow* zoe = start(QStringLiteral("Zoé Lefèvre")).second;
    ASSERT_TRUE(zoe);
    EXPECT_EQ(start(QStringLiteral(" zoe  LEFEVRE")).second, zoe);
    EXPECT_EQ(main.findChildren<ExerciseWindow*>().size(), 1);
    QLockFile held(progressOf("Zoé Lefèvre") + QStringLiteral(".lock"));
    EXPECT_FALSE(held.tryLock(0));

    QLockFile elsewhere(progressOf("Léa Martin") + QStringLiteral(".lock"));
    ASSERT_TRUE(elsewhere.tryLock(0));
    const auto [refusing, none] = start(QStringLiteral("Léa Martin"));
    EXPECT_FALSE(none);
    EXPECT_TRUE(refusing->isVisible());
    EXPECT_EQ(refusing->message->text(), QStringLiteral("Cette feuille est déjà ouverte pour Léa Martin dans un autre "
                                                        "Temperature1 : fermez-la d'abord."));
    refusing->reject();

    ExerciseWindow* paul = start(QStringLiteral("Paul Durand")).second;
    ASSERT_TRUE(paul);
    EXPECT_NE(paul, zoe);
    delete zoe;  // closed: the sheet is free again
    EXPECT_TRUE(held.tryLock(0));
    held.unlock();
    delete paul;
    QDir(QFileInfo(progressOf("Paul Durand")).path()).removeRecursively();
}

}  // namespace
}  // namespace t1
