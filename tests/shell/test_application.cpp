// What the application object adds to Qt's: Qt's own French, the check of
// the text font, and errors shown as they are.
#include "shell/application.h"
#include "tests/support/answer_box.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace t1::testing {
namespace {

TEST(Application, QtsOwnDialogsSpeakFrench)
{
    QTranslator translation;
    ASSERT_TRUE(Application::loadToolkitTranslation(translation)) << "Qt's translations (qt6-translations-l10n) are missing";
    QApplication::installTranslator(&translation);
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.labelText(QFileDialog::Accept), QStringLiteral("&Enregistrer"));
        EXPECT_EQ(dialog.labelText(QFileDialog::Reject), QStringLiteral("Annuler"));
        EXPECT_EQ(dialog.labelText(QFileDialog::FileName), QStringLiteral("&Nom de fichier :"));
        QMessageBox box(QMessageBox::Question, {}, {}, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Non"));
    }
    QApplication::removeTranslator(&translation);
}

TEST(Application, TheTextFontDrawsEveryCharacterOfTheLessons)
{
    EXPECT_EQ(Application::undrawableCharacters(), QString());
}

// Run by the test of the window without its preferred font: fontconfig's
// substitute draws the texts, so nothing is said.
TEST(WithoutPreferredFont, TheSubstituteDrawsEveryCharacterOfTheLessons)
{
    if (qEnvironmentVariableIsEmpty("T1_WITHOUT_PREFERRED_FONT"))
        GTEST_SKIP() << "needs the font configuration of its own test";
    EXPECT_EQ(Application::undrawableCharacters(), QString());
}

TEST(Application, AnErrorIsShownAsItIsWritten)
{
    SeenBox seen;
    answerNextBox(seen);
    Application::reportError(QStringLiteral("Impossible d'ouvrir « <b>comm1.rtf »."));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, QStringLiteral("Impossible d'ouvrir « <b>comm1.rtf »."));
}

}  // namespace
}  // namespace t1::testing
