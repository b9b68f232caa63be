#include "documents/file_errors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace t1::testing {
namespace {

TEST(FileErrorReason, CommonFailuresReadInFrenchAndOthersByNumber)
{
    EXPECT_EQ(fileErrorReason(ENOSPC), QStringLiteral("plus de place sur le disque"));
    EXPECT_EQ(fileErrorReason(ENOENT), QStringLiteral("fichier ou dossier introuvable"));
    EXPECT_TRUE(fileErrorReason(ELOOP).contains(QStringLiteral("boucle")));
    // No English slips in for a number the table does not know.
    EXPECT_EQ(fileErrorReason(9999), QStringLiteral("erreur système n° 9999"));
}

}  // namespace
}  // namespace t1::testing
