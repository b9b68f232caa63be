#include "lab_window/fields.h"
#include "lab_window/run_texts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

using namespace t1;
using model::Parameters;
using model::Regulator;

TEST(Decimal, ReadsFrenchAndEnglishNumbers)
{
    EXPECT_EQ(parseDecimal("2,5"), 2.5);
    EXPECT_EQ(parseDecimal("2.5"), 2.5);
    EXPECT_EQ(parseDecimal("  -4,52 "), -4.52);
    EXPECT_EQ(parseDecimal("+60"), 60);
    EXPECT_EQ(parseDecimal(",5"), 0.5);
    EXPECT_EQ(parseDecimal("1e2"), 100);
    for (const char* junk : {"", "   ", "abc", "2,5x", "1,2,3", "1.2,3", "2 5", "+-1", "--1", "-", "nan", "inf",
                             "-infinity", "1e999", "0x10"})
        EXPECT_FALSE(parseDecimal(junk)) << junk;
}

// A Qt program runs with the user's locale, where strtod wants "2,5" and
// printf writes it: reading and writing must not depend on it.
TEST(Decimal, IndependentOfTheCLocale)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no French locale installed";
    EXPECT_EQ(parseDecimal("2.5"), 2.5);
    EXPECT_EQ(parseDecimal("2,5"), 2.5);
    EXPECT_EQ(formatDecimal(2.5), "2,5");
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(Decimal, WritesWithACommaAndNoTrailingZeros)
{
    EXPECT_EQ(formatDecimal(4.55), "4,55");
    EXPECT_EQ(formatDecimal(60), "60");
    EXPECT_EQ(formatDecimal(-4.5166556, 2), "-4,52");
    EXPECT_EQ(formatDecimal(0.515), "0,515");
    EXPECT_EQ(formatDecimal(-0.0001), "0");
    EXPECT_EQ(formatDecimal(std::numeric_limits<double>::quiet_NaN()), "?");
}

TEST(Fields, AcceptTheirRangesAndSayWhyNot)
{
    EXPECT_TRUE(check(Field::SetPoint, 255).ok());
    EXPECT_EQ(check(Field::SetPoint, 256).message, "E doit être compris entre 0 et 255.");
    EXPECT_EQ(check(Field::SetPoint, 40.5).message, "E doit être un nombre entier.");
    EXPECT_TRUE(check(Field::Gain, 0).ok());
    EXPECT_EQ(check(Field::Gain, -1).message, "G doit être positif ou nul.");
    EXPECT_FALSE(check(Field::Gain, 100.5).ok());
    EXPECT_TRUE(check(Field::Q1, -1000).ok());
    EXPECT_EQ(check(Field::Q0, 1000.5).message, "q0 doit être compris entre -1000 et 1000.");
    EXPECT_EQ(check(Field::Ratio, 0).message, "T/T1 doit être positif.");
    EXPECT_EQ(check(Field::Ratio, 0.01).message, "T/T1 doit être compris entre 0,05 et 2.");
    EXPECT_TRUE(check(Field::Ratio, 0.05).ok());
    EXPECT_EQ(check(Field::Drop, 11).message, "D doit être compris entre 0 et 10 V.");
    EXPECT_EQ(check(Field::DoorRatio, -0.5).message, "T1d/T1 doit être positif.");
    EXPECT_TRUE(check(Field::DoorRatio, 0.515).ok());
    EXPECT_FALSE(check(Field::DoorFrom, 0).ok());
    EXPECT_EQ(check(Field::DoorFrom, 2.5).message, "La période d'ouverture de la porte doit être un nombre entier.");
    EXPECT_TRUE(check(Field::DoorPeriods, 0).ok());
    EXPECT_EQ(check(Field::DoorPeriods, -1).message, "La durée d'ouverture de la porte ne peut pas être négative.");
    EXPECT_EQ(check(Field::ShownPeriods, 41).message, "Le nombre de périodes affichées doit être compris entre 6 et 40.");
    EXPECT_EQ(check(Field::Gain, std::numeric_limits<double>::infinity()).message, "G doit être un nombre.");
}

TEST(Fields, ReadTextIntoAValueOrAMessage)
{
    EXPECT_EQ(readField(Field::Gain, "4,55").value, 4.55);
    const Reading junk = readField(Field::Gain, "quatre");
    EXPECT_FALSE(junk.value);
    EXPECT_EQ(junk.message, "G : entrez un nombre, par exemple 2,5.");
    EXPECT_EQ(readField(Field::SetPoint, " ").message, "E : entrez une valeur.");
    EXPECT_EQ(readField(Field::Ratio, "-0,2").message, "T/T1 doit être positif.");
}

TEST(RunTexts, ChangesNameWhatActs)
{
    const Parameters before;
    Parameters after = before;
    EXPECT_EQ(changeLabel(before, after), "");
    after.field(Regulator::P, model::kGainField) = 4;
    after.ratio = 0.5;
    EXPECT_EQ(changeLabel(before, after), "G = 4, T = T1/2");
    after = before;
    after.regulator = Regulator::PI;
    after.door.periods = 1;
    after.door.drop = 3.5;
    EXPECT_EQ(changeLabel(before, after), "régulateur PI, porte : 1 période, D = 3,5 V");
    // An inactive kind's field does not act; the manual command's does.
    after = before;
    after.field(Regulator::Manual, model::kCommandField) = 2.5;
    EXPECT_EQ(changeLabel(before, after), "");
    after.regulator = Regulator::Manual;
    after.oven.delay = 0.5;
    EXPECT_EQ(changeLabel(before, after), "commande manuelle, U = 2,5 V, θ = 0,5 T1");
    EXPECT_EQ(ratioLabel(1.0 / 3), "T = T1/3");
    EXPECT_EQ(ratioLabel(2), "T = 2 T1");
    EXPECT_EQ(ratioLabel(0.3), "T = 0,3 T1");
}

TEST(RunTexts, LegendsAndStartsSayWhatSetsARunApart)
{
    Parameters p;
    EXPECT_EQ(traceLegend(p, false), "P, G = 2, T = T1/5, E = 100");
    p.regulator = Regulator::PI;
    p.quantised = false;
    p.door.periods = 1;
    p.ratio = 0.5;
    EXPECT_EQ(traceLegend(p, true),
              "PI, q0 = 5,52, q1 = -4,52, T = T1/2, E = 100, sans quantification, porte, modifié en cours");
    p.regulator = Regulator::PID;
    EXPECT_EQ(traceLegend(p, false).substr(0, 38), "PID, Kp = 2, Ti = 1 T1, Td = 0,1 T1, T");

    using Kind = model::StartOutcome::Kind;
    EXPECT_EQ(startNote({}), "Départ : four froid");
    EXPECT_EQ(startNote({Kind::AtRest, 1, 82, 82}), "Départ : régime permanent");
    EXPECT_EQ(startNote({Kind::Cycle, 24, 66, 67}),
              "Départ : régime permanent, X oscille entre 66 et 67 (cycle de 24 périodes)");
    EXPECT_EQ(startNote({Kind::NoneFound}), "Pas de régime permanent pour ces réglages : départ four froid");
}
