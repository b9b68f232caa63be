// The exercises' checks on the exact loop, against hand-worked runs.
#include "model/correction.h"
#include "model/exercise_kinds.h"
#include "model/identification.h"
#include "sheets.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace t1::model;
using namespace t1::testing;

namespace {

// An open-loop run of the oven K, T1, θ sampled every T_s, the command
// stepped from `from` to `u` at acquisition `at`.
struct OpenLoop {
    double gain, t1, thetaT1, ts;
};

Simulation stepped(const OpenLoop& o, double u, int at, int periods, Start start = Start::Cold, double from = 0)
{
    StudentExercise x = only(exerciseOf(
        "identification", {{"K", o.gain}, {"T1_s", o.t1}, {"theta_T1", o.thetaT1}, {"T_s", o.ts}, {"U", from}}));
    x.start = start;
    x.periods = periods - 1;
    const CommandStep step{at, u};
    return exerciseRun(x, x.parameters, {&step, 1});
}

double value(const Verdict& v, std::string_view key)
{
    for (const Judgement& j : v.items)
        if (j.key == key)
            return j.value.value_or(NAN);
    return NAN;
}

Submission regulator(Regulator r, FieldValues fields)
{
    Submission s;
    s.regulator = r;
    s.fields = fields;
    return s;
}

}  // namespace

// Broïda's two points and the 63 % point on the exact curve, and the
// tangent where the delayed step reaches the oven, give the oven back:
// whole and fractional delays, periods short and long.
TEST(Identification, ReadingTheExactCurveGivesTheOvenBack)
{
    for (const OpenLoop o : {OpenLoop{1.5, 120, 0.3, 30}, OpenLoop{0.8, 200, 0, 10}, OpenLoop{2, 60, 1.7, 15}}) {
        const int at = 2;
        const double u = 4;
        const Simulation run = stepped(o, u, at, 40);
        const auto seconds = [&](double periods) { return (periods - at) * o.ts; };
        const auto levels = stepLevels(0, o.gain * u);
        const double t28 = seconds(*crossing(run, levels[0].s));
        const double t40 = seconds(*crossing(run, levels[1].s));
        const double t63 = seconds(*crossing(run, levels[2].s));
        const double theta = o.thetaT1 * o.t1;
        EXPECT_NEAR(5.5 * (t40 - t28), o.t1, 0.005 * o.t1) << o.t1;
        EXPECT_NEAR(2.8 * t28 - 1.8 * t40, theta, 0.01 * o.t1) << o.t1;
        EXPECT_NEAR(t63, theta + o.t1, 1e-9 * o.t1) << o.t1;

        const Tangent tangent = tangentAt(run, at + theta / o.ts);
        EXPECT_NEAR(seconds(*tangent.reaches(o.gain * u)), theta + o.t1, 1e-9 * o.t1);
        EXPECT_NEAR(seconds(*tangent.reaches(0)), theta, 1e-9 * o.t1);
    }
    const Simulation run = stepped({1, 100, 0, 20}, 4, 0, 10);
    EXPECT_FALSE(crossing(run, 9));
    EXPECT_FALSE(tangentAt(Simulation(), 0).reaches(1));  // flat before any acquisition
}

// With the right answers the model's curve is the true one for the same
// commands (2 V from the start, 6 V from the third period), from cold or
// from rest at 2 V; with others it parts from it.
TEST(Identification, ModelCurveForTheSameCommands)
{
    const OpenLoop o{1.5, 120, 0.45, 30};
    for (Start start : {Start::Cold, Start::Steady}) {
        const Simulation run = stepped(o, 6, 3, 20, start, 2);
        const CommandHistory commands = commandHistory(run);
        const FirstOrderModel right{o.gain, o.t1, o.thetaT1 * o.t1};
        const FirstOrderModel wrong{o.gain, 1.2 * o.t1, o.thetaT1 * o.t1};
        double apart = 0;
        for (double t = 0; t <= 20; t += 0.1) {
            EXPECT_NEAR(modelResponse(right, commands, t * o.ts), run.sAt(t), 1e-9) << t;
            apart = std::fmax(apart, std::abs(modelResponse(wrong, commands, t * o.ts) - run.sAt(t)));
        }
        EXPECT_GT(apart, 0.3);
    }
}

// The student's steps of the manual command: at their acquisitions, the
// later of two at the same one, within the converter's range, and none
// beyond the run.
TEST(Identification, StepsOfTheManualCommand)
{
    const StudentExercise x = only(exerciseOf("identification", {{"T_s", 30}, {"U", 5}}));
    const std::vector<CommandStep> steps{{0, 2}, {6, 3}, {6, 7}, {12, 25}, {x.periods + 1, 1}};
    const Simulation run = exerciseRun(x, x.parameters, steps);
    const auto u = [&](int k) { return run.samples()[std::size_t(k)].u; };
    EXPECT_DOUBLE_EQ(u(0), 2);
    EXPECT_DOUBLE_EQ(u(5), 2);
    EXPECT_NEAR(u(6), 7, kHalfStepVolts);
    EXPECT_DOUBLE_EQ(u(12), 10);
    EXPECT_DOUBLE_EQ(u(x.periods), 10);
    EXPECT_EQ(run.samples().size(), std::size_t(x.periods + 1));
    EXPECT_NEAR(exerciseRun(x, x.parameters).samples().front().u, 5, kHalfStepVolts);  // the sheet's own

    std::vector<CommandStep> placed;
    for (const CommandStep s : {CommandStep{12, 1}, CommandStep{3, 2}, CommandStep{12, 4}, CommandStep{0, 3}})
        placeStep(placed, s);
    EXPECT_EQ(placed, (std::vector<CommandStep>{{0, 3}, {3, 2}, {12, 4}}));
}

TEST(Identification, AnswersWithinTheirTolerance)
{
    Exercise e = exerciseOf("identification", {{"K", 1.5}, {"T1_s", 120}, {"theta_T1", 0.25}, {"T_s", 20}});
    StudentExercise x = only(e);
    Verdict v = check(x, typed({{"K", 1.6}, {"T1_s", 109}, {"theta_s", 32.9}}));
    EXPECT_TRUE(v.passed);
    EXPECT_EQ(v.items.size(), 3u);
    EXPECT_EQ(v.items[2].reference, 30);
    EXPECT_DOUBLE_EQ(v.items[2].allowance, 3);
    v = check(x, typed({{"K", 1.6}, {"T1_s", 107}}));
    EXPECT_FALSE(v.passed);
    EXPECT_FALSE(v.items[1].met);
    EXPECT_EQ(v.items[2].why, Why::NotTyped);
    // Asked for θ alone, within 2 s or 1 %.
    e.asked = {{"theta_s", Tolerance{1, 2}}};
    x = only(e);
    EXPECT_TRUE(check(x, typed({{"theta_s", 28}})).passed);
    EXPECT_FALSE(check(x, typed({{"theta_s", 27.9}})).passed);

    Attempts a{2, false};
    x.tries = 2;
    EXPECT_FALSE(mayTry(x, a));
    EXPECT_TRUE(mayReveal(x, a));
    x.revealAfterWrong = false;
    EXPECT_FALSE(mayReveal(x, a));
    EXPECT_TRUE(mayReveal(x, {1, true}));
}

// E = 100, T = T1/5, K = 1, quantised, from cold: worked by hand.
TEST(Tuning, HandWorkedProportionalRuns)
{
    Exercise e = exerciseOf("reglage", {});
    e.periods = 40;
    e.criteria = {{"erreur_statique", 34, {}}, {"depassement", 1, {}}, {"temps_reponse", 5, {}},
                  {"stable", {}, {}}, {"sans_saturation", {}, {}}};
    const Submission g2 = regulator(Regulator::P, {2, 0, 0});
    Verdict v = check(only(e), g2);
    EXPECT_TRUE(v.passed);
    EXPECT_EQ(v.run->samples().size(), 41u);
    EXPECT_EQ(value(v, "erreur_statique"), 33);
    EXPECT_EQ(value(v, "depassement"), 0);
    EXPECT_EQ(value(v, "temps_reponse"), 4);
    // The pole a - K G (1 - a).
    EXPECT_NEAR(value(v, "stable"), std::exp(-0.2) - 2 * (1 - std::exp(-0.2)), 1e-9);

    // A delay of one period: X overshoots to 77 before coming back.
    e.fixed.push_back({"theta_T1", 0.2});
    v = check(only(e), g2);
    const double x[] = {0, 0, 36, 66, 77, 76, 70, 66, 65, 66};
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(v.run->samples()[k].x, x[k]) << k;
    EXPECT_FALSE(v.passed);
    EXPECT_FALSE(v.items[1].met);
    EXPECT_GT(value(v, "depassement"), 10);

    // Too strong a gain: unstable, the command against its stops.
    v = check(only(e), regulator(Regulator::P, {20, 0, 0}));
    EXPECT_GT(value(v, "stable"), 1);
    EXPECT_GT(value(v, "sans_saturation"), 0);
    EXPECT_EQ(v.items[0].why, Why::Oscillating);

    // Only what the sheet offers is judged.
    e.regulators = {"PI"};
    EXPECT_TRUE(check(only(e), g2).refused);
}

// From the steady regime at E = 40, the door open during the second period:
// the deadbeat PI falls to 8 and takes ten periods to come back within a
// digit of 40; P (G = 2, X at 27) falls to 0 and takes six.
TEST(Tuning, DoorCriteria)
{
    Exercise e = exerciseOf("reglage", {{"E", 40}, {"door_from", 2}, {"door_periods", 1}});
    e.start = "permanent";
    e.criteria = {{"ecart_porte", 30, {}}, {"retour_porte", 8, 1}, {"depassement", 5, {}}};
    Verdict v = check(only(e), regulator(Regulator::PI, deadbeat({kLessonRatio, 1})));
    EXPECT_EQ(value(v, "ecart_porte"), 32);
    EXPECT_EQ(value(v, "retour_porte"), 10);
    EXPECT_EQ(v.items[2].why, Why::NotApplicable);
    EXPECT_FALSE(v.passed);
    v = check(only(e), regulator(Regulator::P, {2, 0, 0}));
    EXPECT_EQ(value(v, "ecart_porte"), 27);
    EXPECT_EQ(value(v, "retour_porte"), 6);
    EXPECT_TRUE(v.items[0].met && v.items[1].met);
    // Not back by the end of the run.
    e.periods = 8;
    v = check(only(e), regulator(Regulator::PI, deadbeat({kLessonRatio, 1})));
    EXPECT_EQ(v.items[1].why, Why::NotBack);
}

TEST(Deadbeat, CoefficientsAndTheRunShown)
{
    Exercise e = exerciseOf("pile", {{"T_T1", 0.25}, {"K", 2}, {"E", 40}});
    const StudentExercise x = only(e);
    const FieldValues c = deadbeat({0.25, 2});
    EXPECT_FALSE(check(x, typed({{"q0", c[0] * 1.02}, {"q1", c[1]}})).passed);
    const Verdict v = check(x, typed({{"q0", 2.26}, {"q1", -1.76}}));
    ASSERT_TRUE(v.passed);
    const auto& s = v.run->samples();
    EXPECT_EQ(v.run->parameters().fieldsOf(Regulator::PI), c);
    EXPECT_EQ(s[0].x, 0);
    for (std::size_t k = 2; k < s.size(); ++k)
        EXPECT_NEAR(s[k].x, 40, 1) << k;
}

// The lesson's P run (G = 2, E = 100) period by period, and the score.
TEST(Prediction, EachPeriodJudgedExactlyAndUWithinHalfAStep)
{
    Exercise e = exerciseOf("prediction", {{"G", 2}});
    e.regulator = "P";
    const StudentExercise x = only(e);
    Score score;
    Verdict v = check(x, typed({{"X", 0}, {"Ep", 100}, {"Epu", 200}, {"U", 7.84}}, 0));
    EXPECT_TRUE(v.passed);
    score.add(v);
    v = check(x, typed({{"X", 36}, {"Ep", 64}, {"Epu", 128}, {"U", 4.99}}, 1));
    EXPECT_EQ(v.items[3].reference, 128 / kDigitsPerVolt);
    EXPECT_FALSE(v.items[3].met);  // 5,0196 V: 4,99 is over half a step off
    EXPECT_TRUE(check(x, typed({{"U", 5.00}}, 1)).items[3].met);
    score.add(v);
    v = check(x, typed({{"X", 54}, {"Ep", 46}, {"Epu", 92}, {"U", 3.69}}, 2));
    EXPECT_FALSE(v.items[0].met || v.items[1].met || v.items[2].met);
    score.add(v);
    EXPECT_EQ(score.right, 4 + 3 + 1);
    EXPECT_EQ(score.total, 12);
    EXPECT_TRUE(check(x, typed({}, x.periods + 1)).refused);
}

// What the teacher's correction prints for each student.
TEST(Correction, HiddenValuesAndExpectedAnswers)
{
    Exercise id = exerciseOf("identification", {{"T_s", 20}}, {{"K", 0.5, 2.5, 0, 2}, {"T1_s", 60, 300, 5, {}}});
    Exercise tuning = exerciseOf("reglage", {});
    tuning.criteria = {{"retour_porte", 8, {}}};
    Exercise prediction = exerciseOf("prediction", {});
    const SheetCorrection c = correction(sheetOf({id, tuning, prediction, exerciseOf("dessin", {})}), " Jean DUPONT");
    EXPECT_EQ(c.student, "jean dupont");
    ASSERT_EQ(c.exercises.size(), 4u);
    const ExerciseCorrection& first = c.exercises[0];
    EXPECT_EQ(first.hidden, (std::vector<DrawnValue>{{"K", 1.64}, {"T1_s", 255}}));
    ASSERT_EQ(first.answers.size(), 3u);
    EXPECT_EQ(first.answers[1].value, 255);
    EXPECT_DOUBLE_EQ(first.answers[1].allowance, 25.5);
    EXPECT_EQ(first.answers[2].value, 0);
    EXPECT_EQ(c.exercises[1].demands[0].band, 1);
    const std::vector<Sample> run = exerciseRun(only(prediction), only(prediction).parameters).samples();
    ASSERT_EQ(c.exercises[2].acquisitions.size(), run.size());
    EXPECT_EQ(c.exercises[2].acquisitions[1].x, 36);
    EXPECT_FALSE(c.exercises[3].kind);
}
