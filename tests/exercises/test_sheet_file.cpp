// Sheets read from their files: the shipped ones, and every way a file can
// be wrong, each refused in one French sentence that says where.
#include "exercises/correction_text.h"
#include "exercises/sheet_file.h"
#include "exercises/shipped_sheets.h"
#include "model/exercise_kinds.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace t1 {
namespace {

const QString kName = QStringLiteral("feuille.json");

// The sheet of the model's tests: its draws are pinned there.
QJsonObject goodSheet()
{
    return QJsonDocument::fromJson(R"({
      "format": "temperature1-feuille", "version": 1,
      "titre": "Travaux pratiques 3", "id": "TP3-2025", "introduction": "",
      "exercices": [
        {"type": "identification", "enonce": "Énoncé", "fixes": {"T_s": 20},
         "caches": {"K": {"min": 0.5, "max": 2.5, "decimales": 2}, "T1_s": {"min": 60, "max": 300, "pas": 5},
                    "theta_T1": {"min": 0, "max": 0.5}}},
        {"type": "reglage", "enonce": "Énoncé", "regulateurs": ["P", "PI"],
         "criteres": [{"critere": "erreur_statique", "borne": 5}, {"critere": "stable"}], "essais": 3},
        {"type": "pile", "enonce": "Énoncé", "fixes": {"T_T1": 0.25},
         "reponses": [{"reponse": "q0", "pourcent": 2}, "q1"], "revelation": false},
        {"type": "prediction", "enonce": "Énoncé", "fixes": {"G": 3}, "regulateur": "P", "periodes": 6}
      ]})")
        .object();
}

QJsonObject withExercise(std::size_t index, const char* key, const QJsonValue& value)
{
    QJsonObject root = goodSheet();
    QJsonArray list = root[QStringLiteral("exercices")].toArray();
    QJsonObject e = list[qsizetype(index)].toObject();
    e[QString::fromUtf8(key)] = value;
    list[qsizetype(index)] = e;
    root[QStringLiteral("exercices")] = list;
    return root;
}

SheetFile parsed(const QJsonObject& root)
{
    return parseSheet(QJsonDocument(root).toJson(), kName);
}

TEST(SheetFile, ReadsEveryKeyIntoTheModelsSheet)
{
    const SheetFile f = parsed(goodSheet());
    ASSERT_TRUE(f.ok()) << f.error.toStdString();
    const model::Sheet& s = *f.sheet;
    EXPECT_EQ(s.id, "TP3-2025");
    ASSERT_EQ(s.exercises.size(), 4u);
    const model::HiddenRange* t1 = model::hiddenRange(s.exercises[0], "T1_s");
    ASSERT_TRUE(t1);
    EXPECT_EQ(t1->step, 5);
    EXPECT_EQ(model::hiddenRange(s.exercises[0], "K")->decimals, 2);
    EXPECT_EQ(s.exercises[1].regulators, (std::vector<std::string>{"P", "PI"}));
    EXPECT_EQ(s.exercises[1].criteria[0].bound, 5);
    EXPECT_FALSE(s.exercises[1].criteria[1].bound);
    EXPECT_EQ(s.exercises[1].tries, 3);
    EXPECT_EQ(s.exercises[2].asked[0].tolerance, (model::Tolerance{2, 0}));
    EXPECT_FALSE(s.exercises[2].asked[1].tolerance);
    EXPECT_FALSE(s.exercises[2].revealAfterWrong);
    EXPECT_EQ(s.exercises[3].regulator, "P");
    EXPECT_EQ(s.exercises[3].periods, 6);
}

// One sentence: the file, the exercise's number (from 1) and the key, as
// the file spells them.
TEST(SheetFile, ABadSheetIsRefusedNamingTheExerciseAndTheKey)
{
    QJsonObject tooMany = goodSheet();
    QJsonArray list;
    for (int i = 0; i < 101; ++i)
        list.append(goodSheet()[QStringLiteral("exercices")].toArray()[3]);
    tooMany[QStringLiteral("exercices")] = list;
    QJsonObject inverted = goodSheet();
    {
        QJsonArray l = inverted[QStringLiteral("exercices")].toArray();
        QJsonObject e = l[0].toObject();
        e[QStringLiteral("caches")] = QJsonObject{{"K", QJsonObject{{"min", 2.0}, {"max", 1.0}}}};
        l[0] = e;
        inverted[QStringLiteral("exercices")] = l;
    }
    const struct {
        QJsonObject root;
        const char* says;
    } cases[] = {
        {inverted, "exercice 1, clé « caches › K » : le minimum « min » dépasse le maximum « max »"},
        {withExercise(2, "reponses", QJsonArray{QJsonObject{{"reponse", "q0"}, {"pourcent", -1}}}),
         "exercice 3, clé « reponses › q0 » : la valeur ne peut pas être négative"},
        {withExercise(1, "type", "dessin"), "exercice 2, clé « type » : type d'exercice inconnu"},
        {withExercise(3, "enonce", QString(10001, QLatin1Char('a'))),
         "exercice 4, clé « enonce » : le texte dépasse 10000 caractères"},
        {tooMany, "clé « exercices » : la feuille compte plus de 100 exercices"},
        {withExercise(1, "essais", 2.5), "exercice 2, clé « essais » : un nombre entier est attendu"},
        {withExercise(1, "essai", 2), "exercice 2, clé « essai » : nom inconnu"},
        {withExercise(0, "fixes", QJsonObject{{"T_s", "vingt"}}), "exercice 1, clé « fixes › T_s » : un nombre est attendu"},
        {withExercise(3, "periodes", 50), "exercice 4, clé « periodes » : la valeur doit être comprise entre 6 et 40"},
    };
    for (const auto& c : cases) {
        const SheetFile f = parsed(c.root);
        EXPECT_FALSE(f.ok());
        const QString expected = QStringLiteral("Le fichier « feuille.json » n'est pas une feuille d'exercices "
                                                "utilisable\u00A0: ");
        EXPECT_TRUE(f.error.startsWith(expected)) << f.error.toStdString();
        EXPECT_TRUE(QString(f.error).replace(QChar(0xA0), QLatin1Char(' ')).contains(QString::fromUtf8(c.says)))
            << f.error.toStdString() << "\n  expected: " << c.says;
        EXPECT_EQ(f.error.count(QLatin1Char('\n')), 0);
    }
}

// The file's own faults come from the JSON reader, in its words.
TEST(SheetFile, TheFileClassesOfTheJsonReaderAreRefusedToo)
{
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const struct {
        QString path;
        const char* says;
    } cases[] = {
        {write("vide.json", ""), "est vide"},
        {write("tronque.json", R"({"format": "temperature1-feuille", "version": 1, "titre": "a)"), "tronqué"},
        {write("autre.json", R"({"format": "temperature1-labo", "version": 1})"), "n'est pas une feuille d'exercices"},
        {write("future.json", R"({"format": "temperature1-feuille", "version": 7})"), "version 7"},
        {dir.filePath(QStringLiteral("absente.json")), "illisible"},
        {dir.path(), "n'est pas un fichier ordinaire"},
    };
    for (const auto& c : cases) {
        const SheetFile f = readSheet(c.path);
        EXPECT_FALSE(f.ok());
        EXPECT_TRUE(f.error.contains(QFileInfo(c.path).fileName())) << f.error.toStdString();
        EXPECT_TRUE(f.error.contains(QString::fromUtf8(c.says))) << f.error.toStdString() << " / " << c.says;
    }
}

// Each shipped sheet is found where the program looks, reads without a
// fault, and has the title its chooser shows.
TEST(SheetFile, TheShippedSheetsLoad)
{
    const char* titles[] = {"Identification du four", "Régler la boucle : P puis PI",
                            "Prédire la boucle échantillonnée"};
    for (std::size_t i = 0; i < kShippedSheets.size(); ++i) {
        const SheetFile f = readSheet(QStringLiteral(T1_RESOURCES_DIR "/") + QString::fromUtf8(kShippedSheets[i]));
        ASSERT_TRUE(f.ok()) << f.error.toStdString();
        EXPECT_EQ(f.sheet->title, titles[i]);
        EXPECT_FALSE(shippedSheetPath(kShippedSheets[i]).isEmpty()) << kShippedSheets[i];
    }
}

// The teacher's correction: the draws the model's tests pin (K = 1,64,
// T1 = 255 s, θ = 0,087 T1 for Jean Dupont, whatever the case and blanks).
TEST(Correction, PrintsTheHiddenValuesAndTheExpectedAnswers)
{
    const model::Sheet sheet = *parsed(goodSheet()).sheet;
    const QString text = correctionText(sheet, QStringLiteral("  jean DUPONT "));
    EXPECT_TRUE(text.contains(QStringLiteral("Valeurs cachées : K = 1,64 ; T1 = 255 s ; θ = 0,087 T1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("T1 = 255 s (juste à 25,5 près)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("θ = 22,18 s"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Erreur statique ≤ 5 %"))) << text.toStdString();
    EXPECT_EQ(text, correctionText(sheet, QStringLiteral("Jean Dupont")).replace(QStringLiteral("Jean Dupont"),
                                                                                QStringLiteral("jean DUPONT")));

    const QStringList students = classList("\xEF\xBB\xBF" "Dupont;Jean\n\n\"Lefèvre\";\"Zoé\"\r\n");
    EXPECT_EQ(students, (QStringList{QStringLiteral("Dupont Jean"), QStringLiteral("Lefèvre Zoé")}));
    const QStringList lines = classCorrectionCsv(sheet, {QStringLiteral("Jean Dupont"), QStringLiteral("Zoé Lefèvre")})
                                  .split(QLatin1Char('\n'));
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\uFEFFÉlève;Ex. 1 K caché;Ex. 1 T1 (s) caché;Ex. 1 θ (T1) caché;")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Jean Dupont;1,64;255;0,087;"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Zoé Lefèvre;0,65;210;0,411;"))) << lines[2].toStdString();
}

}  // namespace
}  // namespace t1
