// The Laboratoire's form as the model's tables build it, and what its
// diagram shows of the parameters in force.
#include "tests/lab_window/lab_rig.h"

#include "lab_window/fields.h"
#include "lab_window/lab_plots.h"
#include "lab_window/mnemonics.h"
#include "lab_window/time_display.h"
#include "tests/support/scoped_locale.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>

#include <algorithm>
#include <cmath>
#include <map>

using namespace t1;
using namespace t1::testing;
using model::Regulator;

namespace {

class LabForm : public LabRig {
protected:
    QImage area(const QRect& r) const { return scene().image().copy(r); }

    double number(const QString& text) const
    {
        return QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    }

    void choose(Regulator r) { click(lab->regulatorButton(r)); }
};

// The regulator's box and its label; the return branch where it meets the comparator.
const QRect kRegulatorBox(140, 74, 92, 34);
const QRect kReturnBranch(68, 100, 32, 62);

// A value inside the quantity's range, off its default.
double offDefault(const model::Quantity& q, double at)
{
    return q.bring(q.low + at * (q.high - q.low));
}

}  // namespace

TEST_F(LabForm, EveryRowOfTheTablesHasItsControlsAndTheFormSetsAndReadsThemAll)
{
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r) {
        const model::RegulatorRow& row = model::kRegulators[r];
        QRadioButton* button = lab->regulatorButton(Regulator(r));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text().remove(QLatin1Char('&')), QString::fromUtf8(row.name.data(), qsizetype(row.name.size())));
        EXPECT_FALSE(button->toolTip().isEmpty());
        for (std::size_t f = 0; f < row.fieldCount; ++f)
            EXPECT_EQ(&regulatorField(Regulator(r), f)->quantity(), &row.fields()[f]);
        for (std::size_t j = 0; j < row.presets.size(); ++j)
            ASSERT_NE(lab->presetButton(Regulator(r), j), nullptr);
    }
    for (const model::Setting& s : model::kSettings)
        EXPECT_TRUE(lab->settingField(s.quantity.key) || lab->drawButton(s.quantity.key)) << s.quantity.key;
    EXPECT_EQ(lab->newSeedButton, lab->drawButton(model::kSeed.key));

    // Every number off its default, every kind's fields too: what is set is read back.
    model::Parameters p;
    double at = 0.1;
    for (const model::Setting& s : model::kSettings)
        s.set(p, offDefault(s.quantity, at += 0.07));
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r)
        for (std::size_t f = 0; f < model::kRegulators[r].fieldCount; ++f)
            p.fields[r][f] = offDefault(model::kRegulators[r].fields()[f], at += 0.05);
    p.regulator = Regulator::PID;
    p.quantised = false;
    click(lab->startButton);
    periods(2);
    lab->setParameters(p);
    EXPECT_EQ(lab->parameters(), p);
    EXPECT_EQ(experiment().parameters(), p);
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r)
        for (std::size_t f = 0; f < model::kRegulators[r].fieldCount; ++f)
            EXPECT_EQ(regulatorField(Regulator(r), f)->isShown(), Regulator(r) == Regulator::PID);
    EXPECT_FALSE(lab->quantised->isChecked());
    periods(1);
    EXPECT_EQ(run().marks().size(), 1u);  // one change, however many numbers

    // A file's numbers out of range come in inside it.
    p.oven.gain = 50;
    p.e = -3;
    lab->setParameters(p);
    EXPECT_EQ(lab->parameters(), model::sanitised(p));
    EXPECT_EQ(setting(model::kStaticGain)->edit()->text(), QStringLiteral("5"));
    EXPECT_TRUE(setting(model::kStaticGain)->message().isEmpty());
}

TEST_F(LabForm, NoTwoControlsShownTogetherShareAMnemonic)
{
    const auto mnemonics = [this] {
        std::map<QChar, QString> seen;
        QStringList clashes;
        for (QWidget* w : lab->sceneView()->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(lab->sceneView()))
                continue;
            QString caption;
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                caption = b->text();
            else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
                caption = l->text();
            const QChar c = mnemonicOf(caption);
            if (c.isNull())
                continue;
            if (seen.count(c))
                clashes << seen[c] + QStringLiteral(" / ") + caption;
            seen[c] = caption;
        }
        return std::pair{seen.size(), clashes};
    };
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r) {
        choose(Regulator(r));
        const auto [count, clashes] = mnemonics();
        EXPECT_TRUE(clashes.isEmpty()) << clashes.join(QStringLiteral(", ")).toStdString();
        EXPECT_GE(count, 20u);
    }
    // The one of the field in force leads to it.
    choose(Regulator::P);
    lab->startButton->setFocus();
    QTest::keyClick(lab->startButton, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), gain()->edit());
}

// The cursor on an acquisition made before a change: the regulator as it
// was then, and values made with it.
TEST_F(LabForm, TheDiagramShowsTheParametersInForceAtTheAcquisitionShown)
{
    const QImage gainTwo = area(kRegulatorBox);
    click(lab->startButton);
    periods(4);
    type(gain(), "5");
    // Until the next acquisition the values shown are still made with G = 2.
    EXPECT_EQ(area(kRegulatorBox), gainTwo);
    periods(3);
    EXPECT_NE(area(kRegulatorBox), gainTwo);

    QTest::mouseMove(lab->cursor, QPoint(lab->plotView().scale.x(kSPlot, lab->plotView().scale.acquisitionTime(2)), 150));
    ASSERT_EQ(lab->cursor->sample(), 2);
    EXPECT_EQ(area(kRegulatorBox), gainTwo);
    EXPECT_EQ(lab->shownValues().parameters.field(Regulator::P, model::kGainField), 2);
    EXPECT_EQ(number(readouts().gEpu), 2 * number(readouts().gEp));
    QTest::mouseMove(lab->cursor, QPoint(lab->plotView().scale.x(kSPlot, lab->plotView().scale.acquisitionTime(5)), 150));
    ASSERT_EQ(lab->cursor->sample(), 5);
    EXPECT_NE(area(kRegulatorBox), gainTwo);
    EXPECT_EQ(number(readouts().gEpu), 5 * number(readouts().gEp));
}

// Without quantisation the readouts are the model's values, not the lessons'
// ceilings: X + Ep is E, and Epu is G Ep, to the digits shown.
TEST_F(LabForm, UnquantisedTheReadoutsAddUp)
{
    click(lab->quantised);
    type(gain(), "8");
    click(lab->startButton);
    periods(6);
    int decimals = 0;
    for (int k = 0; k < 6; ++k) {
        lab->cursor->setSample(k);
        const ReadoutTexts t = readouts();
        EXPECT_NEAR(number(t.gX) + number(t.gEp), number(t.gE), 0.011) << k;
        EXPECT_NEAR(number(t.gEpu), std::min(255.0, 8 * number(t.gEp)), 8 * 0.005 + 0.006) << k;
        decimals += t.gX.contains(QLatin1Char(','));
    }
    EXPECT_GT(decimals, 3);
}

// One decimal separator in the window, the user's, wherever it prints a number.
TEST_F(LabForm, EveryNumberTakesTheUsersDecimalSeparator)
{
    const ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    Laboratory lab;
    lab.setManualTicks(true);
    lab.show();
    lab.setStart(model::Start::Steady);
    lab.tick();
    const ReadoutTexts t = readoutTexts(lab.shownValues());
    const QString shown = QStringList{t.gU, t.gS, lab.measuresShown(), lab.poles->text(),
                                      lab.settingField(model::kSampling.key)->edit()->text(),
                                      lab.settingField(model::kSetPoint.key)->note()->text(), lab.startNote->text()}
                              .join(QLatin1Char('|'));
    EXPECT_FALSE(shown.contains(QRegularExpression(QStringLiteral("\\d,\\d")))) << shown.toStdString();
    EXPECT_GE(shown.count(QRegularExpression(QStringLiteral("\\d\\.\\d"))), 5) << shown.toStdString();
    // Both are read, whatever the locale.
    type(setting(model::kSampling), "0,25");
    EXPECT_EQ(experiment().parameters().ratio, 0.25);
}

// The manual command opens the loop as the open-loop lesson draws it; the
// law's parts are the row's.
TEST_F(LabForm, TheDiagramFollowsTheRowInForce)
{
    const QImage closed = area(kReturnBranch);
    const auto parts = [this] {
        const ReadoutTexts t = readouts();
        return std::array{!t.proportional.isEmpty(), !t.integral.isEmpty(), !t.derivative.isEmpty()};
    };
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r) {
        choose(Regulator(r));
        const model::LawParts& p = model::kRegulators[r].parts;
        EXPECT_EQ(parts(), (std::array{p.proportional, p.integral, p.derivative})) << r;
    }
    choose(Regulator::Manual);
    type(regulatorField(Regulator::Manual, model::kCommandField), "2");  // 51 points exactly
    click(lab->startButton);
    periods(3);
    EXPECT_NE(area(kReturnBranch), closed);
    EXPECT_EQ(scene().pixel(80, 135), colour::btnFace);  // the branch no longer reaches the comparator
    EXPECT_EQ(readouts().gEp, readouts().gE);                // its minus input earthed
    EXPECT_EQ(readouts().gU, QStringLiteral("2"));
    EXPECT_NE(readouts().gX, QStringLiteral("0"));          // the oven still measured
    // The set-point's dotted line on the S plot, and its key: only once the loop is closed.
    const auto setPointDots = [this] {
        int n = 0;
        for (int y = PlotScale::y(model::kFullScaleVolts) + 1; y < kPlotBaseline; ++y)
            for (int x = kSPlot.left + 1; x < kSPlot.right; ++x)
                n += scene().pixel(x, y) == plot_colour::e;
        return n;
    };
    const auto keyed = [this] {
        const std::vector<PlotLabel> labels = plotLabels(lab->plotView(), run());
        return std::any_of(labels.begin(), labels.end(),
                           [](const PlotLabel& l) { return l.text == QStringLiteral("E/25,5 (consigne)"); });
    };
    EXPECT_EQ(setPointDots(), 0);
    EXPECT_FALSE(keyed());
    choose(Regulator::P);
    periods(1);
    EXPECT_EQ(area(kReturnBranch), closed);
    EXPECT_GT(setPointDots(), 0);
    EXPECT_TRUE(keyed());
}

TEST_F(LabForm, ANewDrawOfTheNoiseActsAtTheNextRun)
{
    type(setting(model::kNoise), "80");
    click(lab->startButton);
    periods(3);
    const std::uint64_t seed = experiment().parameters().noise.seed;
    const std::vector<model::Sample> before = samples();
    QLabel* note = lab->drawNote(model::kSeed.key);
    EXPECT_TRUE(note->text().isEmpty());
    click(lab->newSeedButton);
    EXPECT_NE(lab->parameters().noise.seed, seed);
    EXPECT_TRUE(note->text().contains(QStringLiteral("Recommencer")));
    periods(1);
    for (std::size_t k = 0; k < before.size(); ++k)
        EXPECT_EQ(samples()[k].noise, before[k].noise);
    click(lab->restartButton);
    periods(3);
    int differ = 0;
    for (std::size_t k = 0; k < before.size(); ++k)
        differ += samples()[k].noise != before[k].noise;
    EXPECT_EQ(differ, 3);
    EXPECT_TRUE(note->text().isEmpty());
}

TEST_F(LabForm, TheTimeUnitChangesTheNotesOnly)
{
    QSignalSpy changed(lab.get(), &Laboratory::timeDisplayChanged);
    type(setting(model::kDelay), "0,5");
    const model::Parameters before = experiment().parameters();
    click(lab->timeUnitButton(TimeUnit::Seconds));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(lab->timeDisplay().unit, TimeUnit::Seconds);
    EXPECT_EQ(setting(model::kSampling)->note()->text(), QStringLiteral("T = 20 s"));
    EXPECT_EQ(setting(model::kDelay)->note()->text(), QStringLiteral("T1 (50 s)"));
    type(setting(model::kTimeConstant), "30");
    EXPECT_EQ(setting(model::kSampling)->note()->text(), QStringLiteral("T = 6 s"));
    EXPECT_FALSE(model::changesRun(before, experiment().parameters()));
    click(lab->timeUnitButton(TimeUnit::Periods));
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(setting(model::kSampling)->note()->text(), QStringLiteral("T = T1/5"));
    EXPECT_EQ(setting(model::kDelay)->note()->text(), QStringLiteral("T1"));
}
