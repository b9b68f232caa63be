#include "lab_window/fields.h"
#include "lab_window/mnemonics.h"
#include "lab_window/run_texts.h"
#include "model/experiment.h"
#include "tests/support/scoped_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace t1;
using t1::testing::ScopedLocale;
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
                             "-infinity", "0x10", "1e", "e5"})
        EXPECT_FALSE(parseDecimal(junk)) << junk;
    // Beyond a double's range, the nearest double: the field then says its range.
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(parseDecimal("1e999"), infinity);
    EXPECT_EQ(parseDecimal("-1e999"), -infinity);
    EXPECT_EQ(parseDecimal(std::string(5000, '9')), infinity);
    EXPECT_EQ(parseDecimal("0," + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(parseDecimal("1e-400"), 0);
    EXPECT_EQ(parseDecimal("1000e-99999999999999999999"), 0);
    EXPECT_EQ(parseDecimal("0,001e99999999999999999999"), infinity);
    EXPECT_TRUE(std::signbit(*parseDecimal("-1e-400")));
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
    EXPECT_EQ(formatDecimal(2.5, 3, "."), "2.5");
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(Decimal, WritesWithTheLocalesSeparatorAndNoTrailingZeros)
{
    const ScopedLocale french;
    EXPECT_EQ(formatDecimal(4.55), "4,55");
    EXPECT_EQ(formatDecimal(60), "60");
    EXPECT_EQ(formatDecimal(-4.5166556, 2), "-4,52");
    EXPECT_EQ(formatDecimal(0.515), "0,515");
    EXPECT_EQ(formatDecimal(-0.0001), "0");
    EXPECT_EQ(formatDecimal(std::numeric_limits<double>::quiet_NaN()), "?");
    const ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(formatDecimal(4.55), "4.55");
    EXPECT_EQ(formatDecimal(1234567.5, 1), "1234567.5");  // no grouping
}

namespace {

// Every quantity a form has a field for.
std::vector<const model::Quantity*> formQuantities()
{
    std::vector<const model::Quantity*> all{&model::kShownPeriods};
    for (const model::Setting& s : model::kSettings)
        all.push_back(&s.quantity);
    for (const model::RegulatorRow& row : model::kRegulators)
        for (const model::Quantity& q : row.fields())
            all.push_back(&q);
    return all;
}

std::string messageFor(const model::Quantity& q, const std::string& typed)
{
    const Reading r = readQuantity(q, typed);
    return r.value ? "accepted" : r.message;
}

const model::Quantity& regulatorQuantity(Regulator r, std::size_t field)
{
    return model::regulatorRow(r).fields()[field];
}

}  // namespace

// Whatever the field, its example is a value it takes, and a number out of
// its range, even beyond a double's, gets its range.
TEST(Fields, ExamplesAreAcceptedAndNumbersOutOfRangeGetTheRange)
{
    for (const model::Quantity* q : formQuantities()) {
        SCOPED_TRACE(std::string(q->key));
        const std::string example = formatDecimal(exampleValue(*q), std::max(q->decimals, 1));
        EXPECT_EQ(messageFor(*q, example), "accepted") << example;
        EXPECT_NE(messageFor(*q, "quatre").find("par exemple " + example + "."), std::string::npos);
        if (!q->whole) {
            EXPECT_NE(example.find(','), std::string::npos) << "an example with a decimal comma";
        }
        const std::string range = fieldWords(*q).subject + " doit être " + rangeText(*q, fieldWords(*q).feminine) + ".";
        for (const std::string& beyond : {std::string(5000, '9'), std::string("-") + std::string(5000, '9'),
                                          std::string("1e400"), formatDecimal(q->high + 1, 3)})
            EXPECT_EQ(messageFor(*q, beyond), range) << beyond.substr(0, 12);
        const std::string tiny = messageFor(*q, "1e-400");
        EXPECT_TRUE(tiny == "accepted" || tiny == range) << tiny;
        EXPECT_EQ(check(*q, std::numeric_limits<double>::quiet_NaN()).ok(), false);
    }
}

TEST(Fields, RefuseWhatTheLoopCannotUseWithTheirRange)
{
    EXPECT_EQ(messageFor(model::kStaticGain, "0"), "K doit être compris entre 0,1 et 5.");
    EXPECT_EQ(messageFor(model::kDelay, "-0,1"), "θ doit être compris entre 0 et 3 T1.");
    EXPECT_EQ(messageFor(regulatorQuantity(Regulator::PID, model::kTiField), "0"),
              "Ti doit être compris entre 0,01 et 100 T1.");
    EXPECT_EQ(messageFor(regulatorQuantity(Regulator::PID, model::kTdField), "-1"),
              "Td doit être compris entre 0 et 10 T1.");
    EXPECT_EQ(messageFor(model::kNoise, "-1"), "σ doit être compris entre 0 et 1000 mV.");
    EXPECT_EQ(messageFor(model::kTimeConstant, "0"), "T1 doit être compris entre 0 (exclu) et 100000 s.");
    EXPECT_EQ(messageFor(model::kSetPoint, "256"), "E doit être compris entre 0 et 255 points.");
    EXPECT_EQ(messageFor(model::kSetPoint, "40,5"), "E doit être un nombre entier.");
    EXPECT_EQ(messageFor(model::kDoorFrom, "2,5"), "La période d'ouverture de la porte doit être un nombre entier.");
    EXPECT_EQ(messageFor(model::kDoorPeriods, "-1"),
              "La durée d'ouverture de la porte doit être comprise entre 0 et 9999 périodes.");
    EXPECT_EQ(messageFor(model::kSampling, "1e-400"), "T/T1 doit être compris entre 0,05 et 2.");
    EXPECT_EQ(messageFor(model::kSampling, "1/0"), "T/T1 : entrez un nombre (0,2) ou une fraction (1/5).");
    EXPECT_EQ(messageFor(model::kSetPoint, "abc"), "E : entrez un nombre, par exemple 100.");
    EXPECT_EQ(messageFor(regulatorQuantity(Regulator::P, model::kGainField), "nan"),
              "G : entrez un nombre, par exemple 2,5.");
    EXPECT_EQ(messageFor(model::kDoorPeriods, "deux"), "La durée d'ouverture de la porte : entrez un nombre, par exemple 1.");
    EXPECT_EQ(messageFor(model::kSetPoint, " "), "E : entrez une valeur.");
    EXPECT_EQ(readQuantity(model::kSampling, "1/5").value, 0.2);
    EXPECT_EQ(readQuantity(model::kDelay, " 1 / 2 ").value, 0.5);
    EXPECT_EQ(readQuantity(model::kDoorRatio, "0.515").value, 0.515);
    EXPECT_TRUE(check(model::kSetPoint, 255).ok());
}

TEST(Mnemonics, NoTwoCaptionsShareALetterButSetsShownApart)
{
    Mnemonics m;
    m.reserve(QStringLiteral("Dé&marrer"));
    EXPECT_EQ(m.mark(QStringLiteral("P")), QStringLiteral("&P"));
    EXPECT_EQ(m.mark(QStringLiteral("PI")), QStringLiteral("P&I"));
    EXPECT_EQ(m.mark(QStringLiteral("Gain K"), QStringLiteral("K")), QStringLiteral("Gain &K"));
    EXPECT_EQ(m.mark(QStringLiteral("Retard θ"), QStringLiteral("θ")), QStringLiteral("&Retard θ"));
    EXPECT_EQ(m.mark(QStringLiteral("Commande manuelle")), QStringLiteral("&Commande manuelle"));
    // Two sets shown apart take the same letter, which the others then avoid.
    EXPECT_EQ(m.mark(QStringLiteral("Ti"), QStringLiteral("Ti"), 0), QStringLiteral("&Ti"));
    EXPECT_EQ(m.mark(QStringLiteral("T1"), QStringLiteral("T1"), 1), QStringLiteral("&T1"));
    EXPECT_EQ(m.mark(QStringLiteral("T/T1"), QStringLiteral("T/T1")), QStringLiteral("T/T&1"));
    EXPECT_EQ(m.mark(QStringLiteral("mm")), QStringLiteral("mm"));  // nothing left
    EXPECT_EQ(mnemonicOf(QStringLiteral("Ti && Td")), QChar());
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
