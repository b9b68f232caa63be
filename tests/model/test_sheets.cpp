// The sheets of exercises: each student's draw, the validation, the tables.
#include "model/criteria.h"
#include "model/draw.h"
#include "model/exercise_kinds.h"
#include "model/sheet_check.h"
#include "sheets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace t1::model;
using namespace t1::testing;

namespace {

Exercise identification()
{
    return exerciseOf("identification", {{"T_s", 20}},
                      {{"K", 0.5, 2.5, 0, 2}, {"T1_s", 60, 300, 5, {}}, {"theta_T1", 0, 0.5, 0, {}}});
}

}  // namespace

namespace t1::model {

void PrintTo(const Fault& f, std::ostream* os)
{
    *os << (f.exercise ? std::to_string(*f.exercise) : "-") << " " << int(f.section) << " " << f.key << " "
        << int(f.code) << " " << f.low << " " << f.high;
}

}  // namespace t1::model

TEST(Draw, NameFoldsBlanksCaseAndAccents)
{
    EXPECT_EQ(normalisedName("  Jean-Noël \t LEFÈVRE\n"), "jean-noel lefevre");
    // A combining accent, no-break and thin spaces, ligatures, other scripts.
    EXPECT_EQ(normalisedName("Ze\u0301phyrin\u00A0\u202FC\u0153ur"), "zephyrin coeur");
    EXPECT_EQ(normalisedName("ÆSA Ørsted Straße Łódź"), "aesa orsted strasse lodz");
    EXPECT_EQ(normalisedName("Σοφία ×2"), "Σοφία ×2");
    EXPECT_EQ(normalisedName(" \t "), "");
    EXPECT_EQ(normalisedName("bad\xC3 byte"), "bad\xC3 byte");
}

// Fixed values, so that a change of hash, generator or arithmetic fails:
// each is recomputable from the documented scheme alone.
TEST(Draw, SameStudentSameOvenOnEveryMachine)
{
    EXPECT_EQ(fnv1a64(""), 0xCBF29CE484222325ULL);
    EXPECT_EQ(fnv1a64("a"), 0xAF63DC4C8601EC8CULL);
    EXPECT_EQ(drawSeed("TP3-2025", "Jean Dupont", 0, "K"), 0x7FB690CD6BF7F3A1ULL);

    const Sheet sheet = sheetOf({identification()});
    const std::vector<DrawnValue> jean{{"K", 1.64}, {"T1_s", 255}, {"theta_T1", 0.087}};
    EXPECT_EQ(drawHidden(sheet, 0, "Jean Dupont"), jean);
    EXPECT_EQ(drawHidden(sheet, 0, "  jean   DUPONT "), jean);
    const std::vector<DrawnValue> zoe{{"K", 0.65}, {"T1_s", 210}, {"theta_T1", 0.411}};
    EXPECT_EQ(drawHidden(sheet, 0, "Zoé Lefèvre"), zoe);
    EXPECT_EQ(drawHidden(sheet, 0, "ZOE LEFEVRE"), zoe);

    const StudentExercise x = *studentExercise(sheet, 0, "Jean Dupont");
    EXPECT_EQ(x.parameters.oven.gain, 1.64);
    EXPECT_EQ(x.parameters.oven.t1Seconds, 255);
    EXPECT_DOUBLE_EQ(x.parameters.ratio, 20.0 / 255);
    EXPECT_EQ(x.parameters.noise.seed, 3471320773882437U);
    EXPECT_EQ(x.parameters.regulator, Regulator::Manual);

    // Another sheet, exercise or student: another oven.
    EXPECT_NE(drawHidden(sheetOf({identification()}, "TP4-2025"), 0, "Jean Dupont"), jean);
    EXPECT_NE(drawHidden(sheetOf({identification(), identification()}), 1, "Jean Dupont"), jean);
    EXPECT_NE(drawHidden(sheet, 0, "Jeanne Dupont"), jean);
}

// Over many students every value of a step's grid comes out, the ends
// included, and a continuous draw stays in its range at its decimals.
TEST(Draw, StepsAndDecimals)
{
    std::set<double> grid;
    for (int i = 0; i < 400; ++i) {
        const std::uint64_t seed = drawSeed("s", "étudiant " + std::to_string(i), 0, "K");
        grid.insert(drawValue({"K", 0.1, 0.4, 0.1, {}}, 2, seed));
        const double v = drawValue({"T1_s", 10, 11, 0, {}}, 1, seed);
        EXPECT_TRUE(v >= 10 && v <= 11) << v;
        EXPECT_EQ(v, std::round(v * 10) / 10) << v;
    }
    EXPECT_EQ(grid, (std::set<double>{0.1, 0.2, 0.3, 0.4}));
    EXPECT_EQ(drawValue({"K", 1, 1, 0, {}}, 2, 7), 1);
    EXPECT_EQ(drawValue({"K", 1, 1.5, 2, {}}, 2, 7), 1);  // a step past the range: low alone
}

TEST(Validation, AGoodSheetHasNoFault)
{
    Exercise tuning = exerciseOf("reglage", {{"theta_T1", 0.2}});
    tuning.criteria = {{"erreur_statique", 5, {}}, {"stable", {}, {}}};
    tuning.regulators = {"P", "PI"};
    Exercise prediction = exerciseOf("prediction", {{"G", 3}});
    prediction.regulator = "P";
    Exercise deadbeat = exerciseOf("pile", {{"T_T1", 0.25}});
    deadbeat.asked = {{"q0", Tolerance{2, 0}}, {"q1", {}}};
    EXPECT_EQ(validate(sheetOf({identification(), tuning, prediction, deadbeat})), std::vector<Fault>{});
}

// One fault per mistake, naming its exercise, section and key.
TEST(Validation, EachFaultAsData)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Exercise a = exerciseOf("identification", {{"K", nan}, {"Kx", 1}, {"E", 50}, {"T_T1", 0.2}, {"T_s", 10}},
                            {{"K", 1, 2, 0, {}}, {"T1_s", 300, 60, -1, 12}, {"theta_T1", -1, 9, 0, {}}});
    a.asked = {{"K", Tolerance{-5, 0}}, {"q0", {}}};
    a.statement = std::string(kMaxTextCharacters + 1, 'e');
    a.start = "tiede";
    a.periods = 41;
    a.tries = -1;
    Exercise b = exerciseOf("reglage", {{"door_from", 2.5}}, {{"T1_s", 60, 300, 0, {}}});
    b.start = "permanent";
    b.criteria = {{"depassement", {}, {}}, {"ecart_porte", 300, {}}, {"stable", {}, 2}, {"vitesse", 1, {}}};
    b.regulators = {"manuel", "PD"};
    b.regulator = "PI";
    Exercise c = exerciseOf("prediction", {{"noise_mV", 5}});
    c.quantised = false;
    c.regulator = "PD";
    Sheet sheet = sheetOf({a, b, c, exerciseOf("dessin", {})}, "");

    using C = FaultCode;
    using S = Section;
    const std::vector<Fault> expected{
        {std::nullopt, S::Sheet, "id", C::Missing},
        {0, S::Exercise, "statement", C::TooLong, 0, kMaxTextCharacters},
        {0, S::Exercise, "start", C::UnknownKey},
        {0, S::Exercise, "periods", C::OutOfRange, 6, 40},
        {0, S::Exercise, "tries", C::Negative},
        {0, S::Fixed, "K", C::NotANumber},
        {0, S::Fixed, "Kx", C::UnknownKey},
        {0, S::Fixed, "E", C::Unused},
        {0, S::Hidden, "K", C::Duplicate},
        {0, S::Hidden, "T1_s", C::InvertedRange},
        {0, S::Hidden, "T1_s", C::Negative},
        {0, S::Hidden, "T1_s", C::BadDecimals, 0, kMaxDecimals},
        {0, S::Hidden, "theta_T1", C::OutOfRange, 0, 3},
        {0, S::Exercise, "T_s", C::Conflict},
        {0, S::Exercise, "T_s", C::RatioOutOfRange, kSampling.low, kSampling.high},
        {0, S::Asked, "K", C::Negative},
        {0, S::Asked, "q0", C::UnknownKey},
        {1, S::Fixed, "door_from", C::NotWhole},
        {1, S::Regulators, "PI", C::Unused},
        {1, S::Criteria, "depassement", C::Missing},
        {1, S::Criteria, "depassement", C::NotApplicable},
        {1, S::Criteria, "ecart_porte", C::OutOfRange, 0, 255},
        {1, S::Criteria, "ecart_porte", C::NotApplicable},
        {1, S::Criteria, "stable", C::Unused},
        {1, S::Criteria, "vitesse", C::UnknownKey},
        {1, S::Regulators, "manuel", C::NotForKind},
        {1, S::Regulators, "PD", C::UnknownKey},
        {2, S::Fixed, "noise_mV", C::Unused},
        {2, S::Regulators, "PD", C::UnknownKey},
        {2, S::Exercise, "quantised", C::NotForKind},
        {3, S::Exercise, "kind", C::UnknownKind},
    };
    EXPECT_EQ(validate(sheet), expected);

    // T/T1 fixed while T1 is hidden gives T1 away.
    Exercise reveals = identification();
    reveals.fixed = {};
    EXPECT_EQ(validate(sheetOf({reveals})),
              (std::vector<Fault>{{0, S::Exercise, "T_T1", C::RevealsHidden}}));

    // Past the limit the exercises are not read; characters, not bytes, count.
    Exercise accented = identification();
    accented.statement = "";
    for (std::size_t i = 0; i < kMaxTextCharacters; ++i)
        accented.statement += "é";
    sheet = sheetOf(std::vector<Exercise>(kMaxExercises + 1, accented));
    sheet.exercises.back().kind = "dessin";
    EXPECT_EQ(validate(sheet), (std::vector<Fault>{{std::nullopt, S::Sheet, "exercises", C::TooMany, 0, 100}}));
    EXPECT_EQ(validate(sheetOf({})), (std::vector<Fault>{{std::nullopt, S::Sheet, "exercises", C::Missing}}));
}

// Every key a table names is one the sheets can use, once.
TEST(Tables, KindsAndCriteriaAreWhole)
{
    std::set<std::string_view> kinds;
    for (const ExerciseKindRow& kind : kExerciseKinds) {
        EXPECT_TRUE(kinds.insert(kind.key).second) << kind.key;
        EXPECT_EQ(exerciseKind(kind.key), &kind);
        EXPECT_TRUE(kind.check && kind.correct) << kind.key;
        EXPECT_EQ(kind.answers.empty(), kind.asks == Asks::Regulator) << kind.key;
        for (std::string_view key : kind.parameters)
            EXPECT_TRUE(sheetParameter(key)) << kind.key << " " << key;
        std::set<std::string_view> answers;
        for (const AnswerRow& a : kind.answers)
            EXPECT_TRUE(answers.insert(a.key).second && a.expected) << kind.key << " " << a.key;
    }
    std::set<std::string_view> criteria;
    for (const CriterionRow& row : kCriteria) {
        EXPECT_TRUE(criteria.insert(row.quantity.key).second) << row.quantity.key;
        EXPECT_TRUE(row.boundNeeded || row.quantity.accepts(row.quantity.fallback)) << row.quantity.key;
        EXPECT_TRUE(!row.band || row.band->accepts(row.band->fallback)) << row.quantity.key;
    }
    EXPECT_FALSE(exerciseKind("dessin"));
    EXPECT_FALSE(criterionRow("vitesse"));
}
