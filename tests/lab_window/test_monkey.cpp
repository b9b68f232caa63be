#include "tests/lab_window/lab_rig.h"

#include "lab_window/measures_text.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>

#include <random>

using namespace t1;
using namespace t1::testing;

namespace {

constexpr unsigned kDefaultSeed = 20240611;
constexpr int kDefaultEvents = 3000;
constexpr int kMaxTicksBetween = 24;

int fromEnvironment(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

class LaboratoryMonkey : public LabRig {
protected:
    void SetUp() override
    {
        LabRig::SetUp();
        // No dialog may open: the saves write nowhere.
        lab->exporter().setAskPath([](const SaveRequest&, const QString&) { return QString(); });
        lab->exporter().setInform([](const QString&) {});
        buttons = {lab->startButton, lab->pauseButton, lab->periodButton, lab->restartButton, lab->clearButton,
                   lab->newSeedButton};
        toggles = {lab->quantised, lab->coldStart, lab->steadyStart};
        for (std::size_t r = 0; r < model::kRegulatorCount; ++r) {
            toggles.push_back(lab->regulatorButton(model::Regulator(r)));
            for (std::size_t j = 0; lab->presetButton(model::Regulator(r), j); ++j)
                buttons.push_back(lab->presetButton(model::Regulator(r), j));
        }
        for (const TimeUnitRow& row : kTimeUnits)
            toggles.push_back(lab->timeUnitButton(row.unit));
    }

    // The fields of the kind in force and the others.
    std::vector<NumberField*> shownFields() const
    {
        std::vector<NumberField*> shown;
        for (NumberField* f : lab->fields())
            if (f->isShown())
                shown.push_back(f);
        return shown;
    }

    template <typename T>
    const T& pick(const std::vector<T>& v)
    {
        return v[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(random)];
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    void randomEvent()
    {
        static const std::vector<QString> texts{
            QStringLiteral("0"),    QStringLiteral("1"),     QStringLiteral("2,5"),  QStringLiteral("4"),
            QStringLiteral("40"),   QStringLiteral("100"),   QStringLiteral("-1"),   QStringLiteral("1e308"),
            QStringLiteral("nan"),  QStringLiteral("inf"),   QStringLiteral("abc"),  QStringLiteral(""),
            QStringLiteral("1/5"),  QStringLiteral("1/0"),   QStringLiteral("0,05"), QStringLiteral("2"),
            QStringLiteral("255"),  QStringLiteral("6"),     QStringLiteral("12"),   QStringLiteral("-4,52"),
            QStringLiteral("3,9"),  QStringLiteral("999999"), QStringLiteral(" 7 "), QStringLiteral("0,5."),
            QStringLiteral("1e-400"), QStringLiteral("0,01"), QStringLiteral("5"), QStringLiteral("3"),
        };
        static const std::vector<int> keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Escape,
                                           Qt::Key_P,    Qt::Key_Period, Qt::Key_Tab, Qt::Key_Space};
        switch (below(9)) {
        case 0:
        case 1: {
            QPushButton* button = pick(buttons);
            if (button->isVisible())
                click(button);
            break;
        }
        case 2:
        case 3:
            type(pick(shownFields()), pick(texts));
            break;
        case 4:
            click(pick(toggles));
            break;
        case 5:
            QTest::mouseMove(lab->cursor, QPoint(below(kPlotsRight), below(kPlotsBottom - kPlotsTop)));
            break;
        case 6:
            lab->cursor->setFocus();
            press(pick(keys));
            break;
        case 7:
            lab->speed->setValue(10 + below(191));
            break;
        default:
            lab->singleTick();
            break;
        }
    }

    void checkInvariants(int event)
    {
        SCOPED_TRACE(::testing::Message() << "event " << event);
        const ReadoutTexts t = readouts();
        for (const QString& text : {t.e, t.ep, t.epu, t.u, t.s, t.x, t.temperature, t.proportional, t.integral,
                                    t.derivative, lab->measuresShown(), lab->poles->text()}) {
            const QString l = text.toLower();
            ASSERT_FALSE(l.contains(QStringLiteral("nan")) || l.contains(QStringLiteral("inf")) ||
                         l.contains(QLatin1Char('?')))
                << text.toStdString();
        }
        // The form and the model agree: a refused field keeps the value in force.
        const model::Parameters& p = experiment().parameters();
        ASSERT_EQ(lab->parameters(), p);
        ASSERT_EQ(int(lab->shownPeriods->value()), experiment().shownPeriods());
        ASSERT_EQ(polesLine(model::closedLoopPoles(p)).isEmpty(), false);

        const int ticks = experiment().ticks();
        ASSERT_EQ(samples().size(), std::size_t((ticks + model::kTicksPerPeriod - 1) / model::kTicksPerPeriod));
        ASSERT_LE(ticks, experiment().lastTick() + 1);
        ASSERT_LE(experiment().traces().size(), std::size_t(model::kMaxTraces));
        ASSERT_EQ(lab->legend->text().count(QStringLiteral("<br>")), std::max<int>(1, experiment().traces().size()));
        if (lab->cursor->sample()) {
            ASSERT_LT(*lab->cursor->sample(), int(samples().size()));
        }

        const model::RunState s = experiment().state();
        const bool moving = s == model::RunState::Running || s == model::RunState::Stepping;
        ASSERT_EQ(lab->startButton->isEnabled(), s != model::RunState::Running && s != model::RunState::Finished);
        ASSERT_EQ(lab->pauseButton->isEnabled(), moving);
        ASSERT_EQ(lab->periodButton->isEnabled(), s != model::RunState::Finished);
        ASSERT_EQ(lab->restartButton->isEnabled(), s != model::RunState::Ready);
        ASSERT_EQ(lab->clearButton->isEnabled(), !experiment().traces().empty());
        ASSERT_EQ(s == model::RunState::Finished, ticks == experiment().lastTick() + 1);
    }

    std::vector<QPushButton*> buttons;
    std::vector<QAbstractButton*> toggles;
    std::mt19937 random{static_cast<unsigned>(fromEnvironment("T1_MONKEY_SEED", kDefaultSeed))};
};

}  // namespace

TEST_F(LaboratoryMonkey, RandomClicksKeysAndTypingKeepTheLaboratorySound)
{
    const int events = fromEnvironment("T1_MONKEY_EVENTS", kDefaultEvents);
    int seen[5] = {};
    int traces = 0;
    for (int e = 0; e < events; ++e) {
        randomEvent();
        ticks(below(kMaxTicksBetween));
        checkInvariants(e);
        seen[int(experiment().state())]++;
        traces = std::max(traces, int(experiment().traces().size()));
        if (HasFatalFailure())
            return;
    }
    // The run went through every state and kept as many earlier runs as it may.
    for (model::RunState s : {model::RunState::Running, model::RunState::Stepping, model::RunState::Paused, model::RunState::Finished})
        EXPECT_GT(seen[int(s)], 0) << int(s);
    EXPECT_EQ(traces, model::kMaxTraces);
}
