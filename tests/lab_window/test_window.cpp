#include "tests/lab_window/lab_rig.h"

#include "stage/zoom.h"
#include "model/regulator.h"
#include "lab_window/fields.h"
#include "lab_window/lab_plots.h"
#include "lab_window/measures_text.h"
#include "lab_window/run_texts.h"
#include "picture/colours.h"
#include "picture/number_text.h"

#include <QCheckBox>
#include <QFile>
#include <QGraphicsView>
#include <QPaintEvent>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cmath>

using namespace t1;
using namespace t1::testing;

namespace {

class LaboratoryTest : public LabRig {
protected:
    // Whether a column of the plots holds a pixel of this colour.
    bool columnHas(int x, QRgb c) const
    {
        for (int y = kPlotsTop; y < kPlotsBottom; ++y)
            if (scene().pixel(x, y) == c)
                return true;
        return false;
    }

    int countOf(QRgb c, QRect area) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += scene().pixel(x, y) == c;
        return n;
    }

    const PlotScale& scale() const { return lab->plotView().scale; }

    static bool finite(const QString& text)
    {
        const QString t = text.toLower();
        return !t.contains(QStringLiteral("nan")) && !t.contains(QStringLiteral("inf")) && !t.contains(QLatin1Char('?'));
    }
};

}  // namespace

TEST_F(LaboratoryTest, GainChangedDuringTheRunActsFromTheNextAcquisitionWithItsMark)
{
    click(lab->startButton);
    ticks(3 * model::kTicksPerPeriod + 10);
    ASSERT_EQ(samples().size(), 4u);
    type(gain(), "4");
    EXPECT_EQ(experiment().parameters().field(model::Regulator::P, model::kGainField), 4);
    // The period under way keeps its command.
    ticks(model::kTicksPerPeriod - 10);
    ASSERT_EQ(samples().size(), 4u);
    const int markX = scale().x(kUPlot, run(), 4);
    EXPECT_FALSE(columnHas(markX, plot_colour::change));
    ticks(1);
    ASSERT_EQ(samples().size(), 5u);
    const model::Sample& before = samples()[3];
    const model::Sample& after = samples()[4];
    EXPECT_EQ(before.epu, std::round(2 * before.ep));
    EXPECT_EQ(after.epu, std::round(4 * after.ep));
    EXPECT_EQ(readouts().gEpu, ceilingText(after.epu));
    ASSERT_EQ(run().marks().size(), 1u);
    EXPECT_EQ(run().marks()[0].k, 4);
    EXPECT_EQ(changeLabel(run().marks()[0].before, run().marks()[0].after), "G = 4");
    EXPECT_TRUE(columnHas(markX, plot_colour::change));
    EXPECT_TRUE(columnHas(scale().x(kSPlot, run(), 4), plot_colour::change));
    EXPECT_TRUE(lab->measuresShown().contains(QStringLiteral("depuis 4T (changement)")));
}

TEST_F(LaboratoryTest, TheCursorShowsAnAcquisitionAsItsCsvRowHoldsIt)
{
    type(setting(model::kDoorPeriods), "1");  // so that S and X differ from one row to the next
    click(lab->startButton);
    ticks(5 * model::kTicksPerPeriod + 20);
    const ReadoutTexts live = readouts();

    QTest::mouseMove(lab->cursor, QPoint(scale().x(kSPlot, run(), 3), 150));
    ASSERT_EQ(lab->cursor->sample(), 3);
    const QStringList rows = lab->valuesText().split(QStringLiteral("\r\n"));
    ASSERT_GE(rows.size(), 6);
    const QStringList row = rows[4].split(QLatin1Char(';'));  // the header, then k = 0..3
    ASSERT_EQ(row.size(), 8);
    EXPECT_EQ(row[0], QStringLiteral("120"));
    const auto value = [&row](int i) { return QString(row[i]).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); };
    const ReadoutTexts at = readouts();
    EXPECT_EQ(at.gE, ceilingText(value(1)));
    EXPECT_EQ(at.gEp, ceilingText(value(2)));
    EXPECT_EQ(at.gEpu, ceilingText(value(3)));
    EXPECT_EQ(at.gU, QString::fromStdString(formatDecimal(value(4), 2)));
    EXPECT_EQ(at.gS, QString::fromStdString(formatDecimal(value(5), 2)));
    EXPECT_EQ(at.gX, ceilingText(value(6)));
    EXPECT_EQ(at.gTemperature, ceilingText(value(7)));

    // The keys go from sample to sample, both ways; End gives the live values back.
    QTest::keyClick(lab->cursor, Qt::Key_Left);
    EXPECT_EQ(lab->cursor->sample(), 2);
    QTest::keyClick(lab->cursor, Qt::Key_Right);
    QTest::keyClick(lab->cursor, Qt::Key_Right);
    EXPECT_EQ(lab->cursor->sample(), 4);
    QTest::keyClick(lab->cursor, Qt::Key_End);
    EXPECT_FALSE(lab->cursor->sample());
    EXPECT_EQ(readouts().gS, live.gS);
}

TEST_F(LaboratoryTest, TheCursorIsDrawnOverThePictureNotIntoIt)
{
    click(lab->startButton);
    ticks(4 * model::kTicksPerPeriod);
    const QImage plots = scene().image().copy(0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop);
    QTest::mouseMove(lab->cursor, QPoint(scale().x(kUPlot, run(), 2), 100));
    ASSERT_EQ(lab->cursor->sample(), 2);
    EXPECT_EQ(scene().image().copy(0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop), plots);
    const QImage shown = lab->picture();
    const int x = scale().x(kUPlot, run(), 2);
    int dark = 0;
    for (int y = kAxisTop + 20; y < kPlotBaseline; ++y)
        dark += shown.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_GT(dark, 20);
    QTest::mouseMove(lab->startButton);  // leaving the plots
    EXPECT_FALSE(lab->cursor->sample());
}

TEST_F(LaboratoryTest, DeadbeatCoefficientsForTheSamplingPeriod)
{
    struct Case {
        const char* typed;
        double ratio;
        const char* q0;
        const char* q1;
    };
    for (const Case& c : {Case{"0,2", 0.2, "5,52", "-4,52"}, Case{"1/20", 0.05, "20,5", "-19,5"},
                          Case{"2", 2, "1,16", "-0,16"}}) {
        type(setting(model::kSampling), c.typed);
        click(lab->presetButton(model::Regulator::PI, 0));
        const model::Parameters& p = experiment().parameters();
        const double a = std::exp(-c.ratio);
        EXPECT_DOUBLE_EQ(p.ratio, c.ratio) << c.typed;
        EXPECT_NEAR(p.field(model::Regulator::PI, model::kQ0Field), 1 / (1 - a), 1e-12) << c.typed;
        EXPECT_NEAR(p.field(model::Regulator::PI, model::kQ1Field), -a / (1 - a), 1e-12) << c.typed;
        EXPECT_EQ(regulatorField(model::Regulator::PI, model::kQ0Field)->edit()->text(), QString::fromUtf8(c.q0));
        EXPECT_EQ(regulatorField(model::Regulator::PI, model::kQ1Field)->edit()->text(), QString::fromUtf8(c.q1));
        EXPECT_TRUE(lab->regulatorButton(model::Regulator::PI)->isChecked());
        EXPECT_TRUE(lab->poles->text().contains(QStringLiteral("compensé par le zéro du régulateur")));
    }
    // Under way, X reaches E one period after the start, to a digit.
    type(setting(model::kSampling), "1/5");
    click(lab->presetButton(model::Regulator::PI, 0));
    type(setting(model::kSetPoint), "40");  // small enough not to saturate the command
    click(lab->startButton);
    periods(3);
    EXPECT_NEAR(samples()[1].x, 40, 1);
    EXPECT_NEAR(samples()[2].x, 40, 1);
    EXPECT_EQ(setting(model::kSampling)->note()->text(), QStringLiteral("T = T1/5"));
}

TEST_F(LaboratoryTest, RefusedValuesAreSaidAtTheFieldAndChangeNothing)
{
    struct Case {
        NumberField* field;
        const char* typed;
        const char* message;
    };
    const model::Parameters before = experiment().parameters();
    const Case cases[] = {
        {setting(model::kSampling), "0", "T/T1 doit être compris entre 0,05 et 2."},
        {setting(model::kSampling), "1/0", "T/T1 : entrez un nombre (0,2) ou une fraction (1/5)."},
        {gain(), "-1", "G doit être compris entre 0 et 100."},
        {gain(), "nan", "G : entrez un nombre, par exemple 2,5."},
        {gain(), "1e999", "G doit être compris entre 0 et 100."},
        {setting(model::kDrop), "11", "D doit être compris entre 0 et 10 V."},
        {setting(model::kSetPoint), "abc", "E : entrez un nombre, par exemple 100."},
        {setting(model::kSetPoint), "", "E : entrez une valeur."},
        {setting(model::kDoorFrom), "2,5", "La période d'ouverture de la porte doit être un nombre entier."},
        {setting(model::kStaticGain), "0", "K doit être compris entre 0,1 et 5."},
        {setting(model::kNoise), "-2", "σ doit être compris entre 0 et 1000 mV."},
        {lab->shownPeriods, "41", "Le nombre de périodes affichées doit être compris entre 6 et 40 périodes."},
    };
    for (const Case& c : cases) {
        const QString good = c.field->edit()->text();
        type(c.field, c.typed);
        EXPECT_EQ(c.field->message(), QString::fromUtf8(c.message)) << c.typed;
        EXPECT_TRUE(c.field->messageLabel()->isVisible());
        EXPECT_EQ(c.field->edit()->palette().color(QPalette::Base), QColor(255, 228, 228));
        EXPECT_EQ(experiment().parameters(), before) << c.typed;
        EXPECT_EQ(experiment().shownPeriods(), model::kDefaultShownPeriods);
        // A good value clears the message and the mark.
        type(c.field, good);
        EXPECT_TRUE(c.field->message().isEmpty()) << c.typed;
        EXPECT_NE(c.field->edit()->palette().color(QPalette::Base), QColor(255, 228, 228));
    }
    // Fewer periods than the run has drawn cannot be shown.
    click(lab->startButton);
    periods(8);
    type(lab->shownPeriods, "6");
    EXPECT_EQ(lab->shownPeriods->message(), QStringLiteral("Déjà 8 périodes simulées : recommencez pour en afficher moins."));
    EXPECT_EQ(experiment().shownPeriods(), model::kDefaultShownPeriods);
}

TEST_F(LaboratoryTest, AnUnstableGainRunsFortyPeriodsSaturatedWithFiniteReadouts)
{
    type(lab->shownPeriods, "40");
    type(gain(), "100");
    EXPECT_TRUE(lab->poles->text().contains(QStringLiteral("Boucle instable")));
    click(lab->startButton);
    int full = 0;
    int none = 0;
    for (int n = 0; n <= 40 * model::kTicksPerPeriod; ++n) {
        lab->tick();
        const ReadoutTexts t = readouts();
        for (const QString& text : {t.gE, t.gEp, t.gEpu, t.gU, t.gS, t.gX, t.gTemperature})
            ASSERT_TRUE(finite(text)) << text.toStdString() << " at tick " << n;
    }
    for (const model::Sample& s : samples()) {
        full += s.u == 10;
        none += s.u == 0;
        EXPECT_TRUE(s.u >= 0 && s.u <= 10);
    }
    // Nearly always against one stop or the other.
    EXPECT_GT(full, 12);
    EXPECT_GT(none, 12);
    EXPECT_GE(full + none, 34);
    EXPECT_EQ(experiment().state(), model::RunState::Finished);
    EXPECT_FALSE(lab->startButton->isEnabled());
    EXPECT_TRUE(finite(lab->measuresShown()));
    EXPECT_TRUE(finite(lab->poles->text()));
}

TEST_F(LaboratoryTest, TheDoorIsDrawnOpenWhileItIsOpen)
{
    type(setting(model::kDoorFrom), "2");
    type(setting(model::kDoorPeriods), "2");
    const QPoint hinge(550, 140);  // the open door's foot, under the oven
    const QPoint shut(80, 79);     // the shut door on the oven picture
    click(lab->startButton);
    ticks(20);
    EXPECT_EQ(scene().pixel(hinge.x(), hinge.y()), colour::btnFace);
    EXPECT_EQ(lab->surfaces().fond.pixel(shut.x(), shut.y()), colour::green);
    ticks(model::kTicksPerPeriod);  // in the second period
    EXPECT_TRUE(samples().back().doorOpen);
    EXPECT_EQ(scene().pixel(hinge.x(), hinge.y()), colour::green);
    EXPECT_NE(lab->surfaces().fond.pixel(shut.x(), shut.y()), colour::green);
    EXPECT_GT(countOf(colour::violet, QRect(480, 120, 140, 20)), 0);  // the heat leaking out
    ticks(2 * model::kTicksPerPeriod);  // shut again in the fourth
    EXPECT_FALSE(samples().back().doorOpen);
    EXPECT_EQ(scene().pixel(hinge.x(), hinge.y()), colour::btnFace);
    EXPECT_EQ(countOf(colour::violet, QRect(480, 120, 140, 20)), 0);
    EXPECT_EQ(lab->surfaces().fond.pixel(shut.x(), shut.y()), colour::green);
}

TEST_F(LaboratoryTest, EarlierRunsStayFadedUpToFiveUntilCleared)
{
    EXPECT_FALSE(lab->clearButton->isEnabled());
    for (int run = 1; run <= 7; ++run) {
        type(setting(model::kSetPoint), QString::number(15 * run));
        click(lab->startButton->isEnabled() ? lab->startButton : lab->restartButton);
        periods(2);
        click(lab->restartButton);
    }
    ASSERT_EQ(experiment().traces().size(), std::size_t(model::kMaxTraces));
    EXPECT_TRUE(lab->legend->text().contains(QStringLiteral("E = 105")));
    EXPECT_FALSE(lab->legend->text().contains(QStringLiteral("E = 30")));  // the oldest are gone
    for (const model::Trace& t : experiment().traces())
        EXPECT_GT(countOf(traceColour(t.colour), QRect(0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop)), 20);
    EXPECT_TRUE(lab->clearButton->isEnabled());
    click(lab->clearButton);
    EXPECT_TRUE(experiment().traces().empty());
    EXPECT_TRUE(lab->legend->text().contains(QStringLiteral("aucun")));
    for (int i = 0; i < model::kMaxTraces; ++i)
        EXPECT_EQ(countOf(traceColour(i), QRect(0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop)), 0);
    EXPECT_FALSE(lab->clearButton->isEnabled());
}

TEST_F(LaboratoryTest, ButtonsFollowTheRun)
{
    const auto states = [this] {
        return std::array{lab->startButton->isEnabled(), lab->pauseButton->isEnabled(), lab->periodButton->isEnabled(),
                          lab->restartButton->isEnabled()};
    };
    using S = std::array<bool, 4>;
    EXPECT_EQ(states(), (S{true, false, true, false}));
    click(lab->periodButton);
    EXPECT_EQ(states(), (S{true, true, true, true}));
    periods(1);
    EXPECT_EQ(experiment().state(), model::RunState::Paused);
    EXPECT_EQ(states(), (S{true, false, true, true}));
    click(lab->startButton);
    EXPECT_EQ(states(), (S{false, true, true, true}));
    click(lab->pauseButton);
    EXPECT_EQ(experiment().state(), model::RunState::Paused);
    click(lab->startButton);
    periods(model::kDefaultShownPeriods);
    EXPECT_EQ(experiment().state(), model::RunState::Finished);
    EXPECT_EQ(states(), (S{false, false, false, true}));
    // The P key pauses and goes on, the point key steps a tick.
    click(lab->restartButton);
    lab->restartButton->setFocus();
    press(Qt::Key_P);
    EXPECT_EQ(experiment().state(), model::RunState::Paused);
    const int at = experiment().ticks();
    press(Qt::Key_Period);
    EXPECT_EQ(experiment().ticks(), at + 1);
    press(Qt::Key_P);
    EXPECT_EQ(experiment().state(), model::RunState::Running);
}

TEST_F(LaboratoryTest, ATickRepaintsOnlyWhatItChanged)
{
    click(lab->startButton);
    ticks(model::kTicksPerPeriod + 5);
    QApplication::processEvents();
    Canvas copy = scene();
    copy.takeDirty();
    const QImage before = scene().image();
    ticks(1);
    int changed = 0;
    for (int y = 0; y < kLabSceneHeight; ++y)
        for (int x = 0; x < kLabSceneWidth; ++x)
            changed += before.pixel(x, y) != scene().image().pixel(x, y);
    EXPECT_GT(changed, 0);
    EXPECT_LT(changed, 600);  // a piece of each curve and the readouts, not the plots
}

TEST_F(LaboratoryTest, ValuesAndPictureAreSavedThroughTheExporter)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QStringList told;
    QString path = dir.filePath(QStringLiteral("essai.csv"));
    lab->exporter().setAskPath([&path](const SaveRequest&, const QString&) { return path; });
    lab->exporter().setInform([&told](const QString& m) { told << m; });
    lab->cursor->setFocus();
    press(Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(told.size(), 1);  // nothing acquired yet
    click(lab->startButton);
    periods(2);
    press(Qt::Key_E, Qt::ControlModifier);
    QFile csv(path);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "Instant local;E;Ep;Epu;U (V);S (V);X;Température (°C)\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n0;100;100;200;7,84313725490196;0;0;20\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n40;100;"));
    path = dir.filePath(QStringLiteral("essai.png"));
    press(Qt::Key_S, Qt::ControlModifier);
    QImage saved(path);
    EXPECT_EQ(saved.size(), QSize(kLabSceneWidth, kLabSceneHeight));
}

TEST_F(LaboratoryTest, ZoomAndFullScreenAsInTheLessons)
{
    lab->cursor->setFocus();
    press(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(lab->zoom().factor(), 1.25);
    ASSERT_NE(lab->zoom().view(), nullptr);
    press(Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(lab->zoom().factor(), 1);
    EXPECT_EQ(lab->zoom().view(), nullptr);
    EXPECT_EQ(lab->sceneView()->parentWidget(), lab.get());

    press(Qt::Key_F11);
    QApplication::processEvents();
    EXPECT_TRUE(lab->isFullScreen());
    EXPECT_TRUE(lab->zoom().fitting());
    // Scaled, the controls still take clicks and keys.
    QGraphicsView* view = lab->zoom().view();
    ASSERT_NE(view, nullptr);
    const QPoint start = lab->startButton->mapTo(lab->sceneView(), lab->startButton->rect().center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(QPointF(start)));
    EXPECT_EQ(experiment().state(), model::RunState::Running);
    press(Qt::Key_Escape);
    EXPECT_FALSE(lab->isFullScreen());
    EXPECT_DOUBLE_EQ(lab->zoom().factor(), 1);
}

namespace {

// The area a widget repaints.
struct PaintedArea : QObject {
    explicit PaintedArea(QWidget* watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                area += qint64(r.width()) * r.height();
        return false;
    }
    qint64 area = 0;
};

}  // namespace

TEST_F(LaboratoryTest, ScaledATickRepaintsItsPlacesNotTheSpanBetweenThem)
{
    lab->resize(2000, 1380);
    lab->zoom().setFactor(2);
    click(lab->startButton);
    ticks(5);
    QApplication::processEvents();
    QGraphicsView* view = lab->zoom().view();
    ASSERT_NE(view, nullptr);
    PaintedArea painted(view->viewport());
    constexpr int kTicks = 60;
    for (int i = 0; i < kTicks; ++i) {
        lab->tick();
        QApplication::processEvents();
    }
    const qint64 viewport = qint64(view->viewport()->width()) * view->viewport()->height();
    EXPECT_GT(painted.area, 0);
    // The oven and a few small places, about a tenth of the picture.
    EXPECT_LT(painted.area / kTicks, viewport / 6);
}

TEST_F(LaboratoryTest, ClosedItKeepsItsRunPaused)
{
    click(lab->startButton);
    periods(2);
    lab->close();
    EXPECT_EQ(experiment().state(), model::RunState::Paused);
    EXPECT_EQ(samples().size(), 2u);
    lab->showRaised();
    EXPECT_TRUE(lab->isVisible());
    click(lab->startButton);
    periods(1);
    EXPECT_EQ(samples().size(), 3u);
}

TEST_F(LaboratoryTest, TabVisitsTheFieldsOfTheKindInForceThenTheButtonsThenThePlotsThenTheZPlane)
{
    click(lab->regulatorButton(model::Regulator::PI));
    setting(model::kSetPoint)->edit()->setFocus();
    const std::array<QWidget*, 5> expected{lab->regulatorButton(model::Regulator::PI),
                                           regulatorField(model::Regulator::PI, model::kQ0Field)->edit(),
                                           lab->presetButton(model::Regulator::PI, 0),
                                           regulatorField(model::Regulator::PI, model::kQ1Field)->edit(),
                                           setting(model::kStaticGain)->edit()};
    for (QWidget* next : expected) {
        press(Qt::Key_Tab);
        // Some styles stop on every radio button of a group, others on the checked one.
        while (qobject_cast<QRadioButton*>(QApplication::focusWidget()) && QApplication::focusWidget() != next)
            press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    lab->clearButton->setEnabled(true);
    lab->clearButton->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), lab->setupButton);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), lab->cursor);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), lab->zPlaneButton);
    for (const NumberField* f : lab->fields())
        EXPECT_FALSE(f->edit()->accessibleName().isEmpty());
}
