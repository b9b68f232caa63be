// What "Vérifier" costs: a tuning exercise's whole check (the exact loop
// from the sheet's start over 40 periods, its measures, poles and every
// criterion), and a prediction's period, as shares of the 10 ms tick.
#include "bench/bench_stats.h"
#include "model/exercise.h"
#include "model/exercise_kinds.h"

#include <cstdio>

using namespace t1;
using namespace t1::bench;
using namespace t1::model;

namespace {

constexpr int kRepeats = 200;
// 50 ms is five ticks; "far under" it, a tenth of it.
constexpr double kLimitShare = 500;
constexpr double kTargetShare = kLimitShare / 10;

Sheet sheet()
{
    Exercise cold;
    cold.kind = "reglage";
    cold.periods = 40;
    cold.fixed = {{"theta_T1", 0.35}};
    cold.criteria = {{"erreur_statique", 5, {}}, {"depassement", 10, {}}, {"temps_reponse", 8, {}},
                     {"stable", {}, {}}, {"sans_saturation", {}, {}}};
    Exercise door = cold;
    door.start = "permanent";
    door.fixed = {{"door_from", 5}, {"door_periods", 2}};
    door.criteria = {{"ecart_porte", 20, {}}, {"retour_porte", 10, 1}, {"stable", {}, {}}};
    Exercise prediction;
    prediction.kind = "prediction";
    prediction.periods = 40;
    prediction.regulator = "PI";
    return {"Banc", "banc", "", {cold, door, prediction}};
}

double cost(const StudentExercise& x, const Submission& s)
{
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i) {
        const auto start = Clock::now();
        check(x, s);
        times.push_back(micros(Clock::now() - start));
    }
    return median(times);
}

}  // namespace

int main()
{
    const Sheet s = sheet();
    Submission pi;
    pi.regulator = Regulator::PI;
    pi.fields = {3, -2.4, 0};
    Submission last;
    last.period = 40;
    last.answers = {{"X", 100}, {"Ep", 0}, {"Epu", 100}, {"U", 3.92}};
    const struct {
        const char* what;
        std::size_t exercise;
        const Submission& submission;
    } cases[] = {
        {"Vérifier, 40 periods from cold, 5 criteria", 0, pi},
        {"Vérifier, 40 periods from the steady regime, door, 3 criteria", 1, pi},
        {"A prediction's last period (its run of 40 periods)", 2, last},
    };
    std::printf("Exercises' checks, median of %d, share of the 10 ms tick (target: under %.0f %%):\n", kRepeats,
                kTargetShare);
    for (const auto& c : cases) {
        const double share = shareOfTick(cost(*studentExercise(s, c.exercise, "Banc"), c.submission));
        std::printf("  %-64s %7.3f %%  %s\n", c.what, share, verdict(share < kTargetShare));
    }
}
