// The laboratory's texts take the user's decimal separator: its tests read
// them in French whatever the machine's locale, unless a test sets another.
#include "tests/support/scoped_locale.h"

#include <gtest/gtest.h>

#include <memory>

namespace t1::testing {
namespace {

class FrenchTexts : public ::testing::Environment {
public:
    void SetUp() override { m_locale = std::make_unique<ScopedLocale>(); }
    void TearDown() override { m_locale.reset(); }

private:
    std::unique_ptr<ScopedLocale> m_locale;
};

const ::testing::Environment* const kFrenchTexts = ::testing::AddGlobalTestEnvironment(new FrenchTexts);

}  // namespace
}  // namespace t1::testing
