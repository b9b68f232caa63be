#include "picture/number_text.h"

#include "tests/support/scoped_locale.h"

#include <gtest/gtest.h>

namespace t1::testing {
namespace {

// The readouts follow the default locale; these tests pin a French one.
struct FrenchLocale : ::testing::Test {
    ScopedLocale french;
};

TEST_F(FrenchLocale, ValuesAsHeldUseTheLocalesSeparator)
{
    EXPECT_EQ(numberText(0.039 * 100), QStringLiteral("3,9"));  // 3.9000000000000004
    EXPECT_EQ(numberText(0.1 * 26), QStringLiteral("2,6"));     // 2.6000000000000005
    EXPECT_EQ(numberText(1.25), QStringLiteral("1,25"));
    EXPECT_EQ(numberText(0.01 * 174), QStringLiteral("1,74"));
    EXPECT_EQ(numberText(8.7), QStringLiteral("8,7"));
    EXPECT_EQ(numberText(0), QStringLiteral("0"));
    EXPECT_EQ(numberText(-0.5), QStringLiteral("-0,5"));
    // At most 15 significant digits, no grouping of thousands.
    EXPECT_EQ(numberText(1.0 / 3), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(numberText(1234.5), QStringLiteral("1234,5"));
}

TEST_F(FrenchLocale, DigitalValuesAreRoundedUp)
{
    EXPECT_EQ(ceilingText(100), QStringLiteral("100"));
    EXPECT_EQ(ceilingText(35.7), QStringLiteral("36"));
    EXPECT_EQ(ceilingText(25.5 * 3.9), QStringLiteral("100"));  // 99.45
    EXPECT_EQ(ceilingText(8 * 3.2 + 20), QStringLiteral("46"));
    EXPECT_EQ(ceilingText(-5), QStringLiteral("-5"));
    EXPECT_EQ(ceilingText(-4.3), QStringLiteral("-4"));
    // The ceiling of a small negative value is a negative zero: shown as 0.
    EXPECT_EQ(ceilingText(-0.4), QStringLiteral("0"));
}

TEST(NumberText, FollowsTheDefaultLocaleUnlessASeparatorIsGiven)
{
    const ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(numberText(0.039 * 100), QStringLiteral("3.9"));
    EXPECT_EQ(numberText(1234.5), QStringLiteral("1234.5"));
    // A file for French spreadsheets, written on an English desktop.
    const QString comma = QStringLiteral(",");
    EXPECT_EQ(numberText(0.039 * 100, comma), QStringLiteral("3,9"));
    EXPECT_EQ(numberText(-1234.5, comma), QStringLiteral("-1234,5"));
    EXPECT_EQ(numberText(-0.0, comma), QStringLiteral("0"));
}

// Each signal by its own rule: the digital ones and the temperature raised
// to their ceiling, the voltages as held.
TEST_F(FrenchLocale, EachSignalIsPrintedByItsRule)
{
    const LoopValues v{.gE = 99.2, .gEp = -4.5, .gEpu = 0.1, .gX = 35.7, .gU = 3.9000000000000004, .gS = 1.25,
                       .gTemperature = 32.8};
    const LoopTexts t = loopTexts(v);
    EXPECT_EQ(t.gE, QStringLiteral("100"));
    EXPECT_EQ(t.gEp, QStringLiteral("-4"));
    EXPECT_EQ(t.gEpu, QStringLiteral("1"));
    EXPECT_EQ(t.gX, QStringLiteral("36"));
    EXPECT_EQ(t.gU, QStringLiteral("3,9"));
    EXPECT_EQ(t.gS, QStringLiteral("1,25"));
    EXPECT_EQ(t.gTemperature, QStringLiteral("33"));
}

}  // namespace
}  // namespace t1::testing
