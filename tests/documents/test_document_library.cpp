#include "documents/document_library.h"
#include "tests/support/rtf_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

namespace {

using t1::DocumentLibrary;
using t1::testing::plain;

void write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// Puts a file's modification time back, as an edit within the same second would.
void setModified(const QString& path, const QDateTime& when)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

class DocumentLibraryTest : public ::testing::Test {
protected:
    QTemporaryDir first;
    QTemporaryDir second;
    QString in(const QTemporaryDir& dir, const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(DocumentLibraryTest, LooksInTheDirectoriesInOrder)
{
    write(in(second, "comm1.rtf"), "{\\rtf1 second}");
    DocumentLibrary library({first.path(), second.path()});
    DocumentLibrary::Loaded loaded = library.load(QStringLiteral("comm1.rtf"));
    ASSERT_TRUE(loaded.document) << loaded.error.toStdString();
    EXPECT_EQ(plain(*loaded.document), QStringLiteral("second"));

    // A document in the first directory hides the one in the second.
    write(in(first, "comm1.rtf"), "{\\rtf1 first}");
    loaded = library.load(QStringLiteral("comm1.rtf"));
    ASSERT_TRUE(loaded.document);
    EXPECT_EQ(plain(*loaded.document), QStringLiteral("first"));
    EXPECT_EQ(loaded.path, in(first, "comm1.rtf"));
}

TEST_F(DocumentLibraryTest, FailuresNameTheFileAndTheReasonInFrench)
{
    DocumentLibrary library({first.path(), second.path()});
    const auto errorFor = [&](const char* name) { return library.load(QString::fromUtf8(name)).error; };

    const QString missing = errorFor("comm3.rtf");
    EXPECT_TRUE(missing.contains(QStringLiteral("« comm3.rtf »"))) << missing.toStdString();
    EXPECT_TRUE(missing.contains(QStringLiteral("introuvable")));
    EXPECT_TRUE(missing.contains(first.path()) && missing.contains(second.path())) << missing.toStdString();

    write(in(first, "vide.rtf"), "");
    EXPECT_TRUE(errorFor("vide.rtf").contains(QStringLiteral("est vide")));
    write(in(first, "texte.rtf"), "Ceci est du texte brut.");
    EXPECT_TRUE(errorFor("texte.rtf").contains(QStringLiteral("n'est pas un document RTF")));
    EXPECT_TRUE(errorFor("texte.rtf").contains(in(first, "texte.rtf")));
    ASSERT_TRUE(QDir(first.path()).mkdir(QStringLiteral("dossier.rtf")));
    EXPECT_TRUE(errorFor("dossier.rtf").contains(QStringLiteral("n'est pas un fichier ordinaire")));

    // Too large to be a commentary: refused before it is read.
    {
        QFile big(in(first, "gros.rtf"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(DocumentLibrary::kMaxFileBytes + 1));
    }
    EXPECT_TRUE(errorFor("gros.rtf").contains(QStringLiteral("trop volumineux")));

    for (const char* name : {"comm3.rtf", "vide.rtf", "texte.rtf", "dossier.rtf", "gros.rtf"})
        EXPECT_FALSE(library.load(QString::fromUtf8(name)).document) << name;
}

// A name in the first directory that leads nowhere is reported there, in
// French, rather than passed over for the document of a later directory.
TEST_F(DocumentLibraryTest, BrokenLinksAreReportedWhereTheyAre)
{
    write(in(second, "comm1.rtf"), "{\\rtf1 second}");
    write(in(second, "comm3.rtf"), "{\\rtf1 second}");
    ASSERT_TRUE(QFile::link(in(first, "comm1.rtf"), in(first, "comm1.rtf")));
    ASSERT_TRUE(QFile::link(in(first, "absent.rtf"), in(first, "comm3.rtf")));
    DocumentLibrary library({first.path(), second.path()});

    const DocumentLibrary::Loaded loop = library.load(QStringLiteral("comm1.rtf"));
    EXPECT_FALSE(loop.document);
    EXPECT_EQ(loop.path, in(first, "comm1.rtf"));
    EXPECT_EQ(loop.error, QStringLiteral("Le fichier « %1 » est illisible\u00A0: trop de liens symboliques (boucle de liens).")
                              .arg(in(first, "comm1.rtf")));

    const DocumentLibrary::Loaded dangling = library.load(QStringLiteral("comm3.rtf"));
    EXPECT_FALSE(dangling.document);
    EXPECT_EQ(dangling.error, QStringLiteral("Le fichier « %1 » est illisible\u00A0: fichier ou dossier introuvable.")
                                  .arg(in(first, "comm3.rtf")));
}

// Whatever takes the file's place between the look at its name and the
// open is judged on what was opened: a pipe does not block the program.
TEST_F(DocumentLibraryTest, APipePutInPlaceOfTheFileIsRefusedWithoutBlocking)
{
    const QString path = in(first, "comm1.rtf");
    write(path, "{\\rtf1 document}");
    DocumentLibrary library({first.path()});
    library.setBeforeOpen([](const QString& found) {
        ASSERT_TRUE(QFile::remove(found));
        ASSERT_EQ(::mkfifo(QFile::encodeName(found).constData(), 0600), 0);
    });
    auto loading = std::async(std::launch::async, [&library] { return library.load(QStringLiteral("comm1.rtf")); });
    // Should the open block, a writer that comes and goes releases it.
    constexpr auto kPatience = std::chrono::seconds(20);
    if (loading.wait_for(kPatience) != std::future_status::ready) {
        const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        ADD_FAILURE() << "the open of a pipe blocked";
    }
    const DocumentLibrary::Loaded loaded = loading.get();
    EXPECT_FALSE(loaded.document);
    EXPECT_EQ(loaded.error, QStringLiteral("Le fichier « %1 » n'est pas un fichier ordinaire.").arg(path));
}

TEST_F(DocumentLibraryTest, ReusesTheParsedDocumentWhileTheFileIsUnchanged)
{
    const QString path = in(first, "comm2.rtf");
    write(path, "{\\rtf1 un}");
    DocumentLibrary library({first.path()});
    const auto a = library.load(QStringLiteral("comm2.rtf")).document;
    const auto b = library.load(QStringLiteral("comm2.rtf")).document;
    ASSERT_TRUE(a);
    EXPECT_EQ(a, b);

    // Same size, new date.
    const QDateTime before = QFileInfo(path).lastModified();
    write(path, "{\\rtf1 deux}");
    setModified(path, before.addSecs(10));
    const auto c = library.load(QStringLiteral("comm2.rtf")).document;
    ASSERT_TRUE(c);
    EXPECT_NE(c, a);
    EXPECT_EQ(plain(*c), QStringLiteral("deux"));

    // Same date, new size.
    write(path, "{\\rtf1 trois!}");
    setModified(path, before.addSecs(10));
    const auto d = library.load(QStringLiteral("comm2.rtf")).document;
    ASSERT_TRUE(d);
    EXPECT_EQ(plain(*d), QStringLiteral("trois!"));

    // Same size and date, as a copy that keeps them (cp -p) leaves it.
    write(path, "{\\rtf1 quatre}");
    setModified(path, before.addSecs(10));
    const auto e = library.load(QStringLiteral("comm2.rtf")).document;
    ASSERT_TRUE(e);
    EXPECT_EQ(plain(*e), QStringLiteral("quatre"));
    // The same bytes again, under a new date: still the parsed one.
    setModified(path, before.addSecs(20));
    EXPECT_EQ(library.load(QStringLiteral("comm2.rtf")).document, e);

    // A file that went bad is reported, not served from the cache.
    write(path, "");
    EXPECT_FALSE(library.load(QStringLiteral("comm2.rtf")).document);
}

// A document in a code page the program cannot read is shown, with a word
// on why some of its letters are not; the word comes with every showing.
TEST_F(DocumentLibraryTest, AnUnreadableCodePageIsSaidWithTheDocument)
{
    write(in(first, "comm4.rtf"), "{\\rtf1\\ansicpg4242 caf\\'e9}");
    write(in(first, "comm5.rtf"), "{\\rtf1\\ansicpg1251 \\'c4\\'e0}");
    DocumentLibrary library({first.path()});
    for (int showing = 0; showing < 2; ++showing) {
        const DocumentLibrary::Loaded loaded = library.load(QStringLiteral("comm4.rtf"));
        ASSERT_TRUE(loaded.document);
        EXPECT_TRUE(loaded.error.isEmpty());
        EXPECT_EQ(plain(*loaded.document), QStringLiteral("caf\uFFFD"));
        EXPECT_EQ(loaded.notice, QStringLiteral("Le fichier « %1 » est écrit dans la page de code 4242, que le programme "
                                                "ne sait pas lire\u00A0: ses caractères accentués sont remplacés par « \uFFFD ».")
                                     .arg(in(first, "comm4.rtf")));
    }
    const DocumentLibrary::Loaded cyrillic = library.load(QStringLiteral("comm5.rtf"));
    ASSERT_TRUE(cyrillic.document);
    EXPECT_EQ(plain(*cyrillic.document), QStringLiteral("Да"));
    EXPECT_TRUE(cyrillic.notice.isEmpty());
}

// Started from anywhere, the program finds its documents: the working
// directory first, then the data directory beside its bin/ directory.
TEST_F(DocumentLibraryTest, DefaultSearchFindsTheBuiltDocumentsFromAnyDirectory)
{
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(first.path()));
    const QStringList dirs = DocumentLibrary::defaultSearchDirs();
    DocumentLibrary library(dirs);
    ASSERT_FALSE(library.searchDirs().isEmpty());
    EXPECT_EQ(QFileInfo(library.searchDirs().first()).canonicalFilePath(), QDir(first.path()).canonicalPath());
    for (const char* name : {"comm1.rtf", "comm2.rtf", "comm3.rtf", "comm4.rtf", "comm5.rtf"}) {
        const DocumentLibrary::Loaded loaded = library.load(QString::fromUtf8(name));
        EXPECT_TRUE(loaded.document) << loaded.error.toStdString();
    }
    // One in the working directory wins.
    write(in(first, "comm4.rtf"), "{\\rtf1 local}");
    const auto local = library.load(QStringLiteral("comm4.rtf")).document;
    ASSERT_TRUE(local);
    EXPECT_EQ(plain(*local), QStringLiteral("local"));
    QDir::setCurrent(saved);
}

// The installed documents are looked for in temperature1 in each standard
// data location, after the working directory and before the build's own.
TEST_F(DocumentLibraryTest, DefaultSearchLooksInTheStandardDataLocations)
{
    QTemporaryDir working;
    const QString savedCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working.path()));
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    const QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", QFile::encodeName(first.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(second.path() + QStringLiteral(":/nulle/part")));
    const QStringList dirs = DocumentLibrary(DocumentLibrary::defaultSearchDirs()).searchDirs();
    const auto restore = [](const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    restore("XDG_DATA_HOME", savedHome);
    restore("XDG_DATA_DIRS", savedDirs);

    const QString user = QDir(first.path()).filePath(QStringLiteral("temperature1"));
    const QString system = QDir(second.path()).filePath(QStringLiteral("temperature1"));
    ASSERT_GE(dirs.size(), 4);
    EXPECT_EQ(dirs[0], QDir::currentPath());
    QDir::setCurrent(savedCurrent);
    EXPECT_EQ(dirs[1], user);
    EXPECT_EQ(dirs[2], system);
    EXPECT_EQ(dirs[3], QStringLiteral("/nulle/part/temperature1"));
    EXPECT_EQ(dirs.last(), QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/temperature1")));

    // A teacher's own copy in the user's data location wins over the build's.
    ASSERT_TRUE(QDir(first.path()).mkpath(QStringLiteral("temperature1")));
    write(QDir(user).filePath(QStringLiteral("comm1.rtf")), "{\\rtf1 du professeur}");
    DocumentLibrary library(dirs);
    const DocumentLibrary::Loaded loaded = library.load(QStringLiteral("comm1.rtf"));
    ASSERT_TRUE(loaded.document) << loaded.error.toStdString();
    EXPECT_EQ(plain(*loaded.document), QStringLiteral("du professeur"));
}

// The five documents as shipped: each reads whole and says what it must.
TEST(ShippedDocuments, ReadWholeAndCarryTheirLessons)
{
    DocumentLibrary library({QStringLiteral(T1_RESOURCES_DIR)});
    const std::map<const char*, QStringList> expected{
        {"comm1.rtf",
         {"Réponse indicielle en boucle fermée", "escalier", "X = G/(1+G) · E = 2/3 · E ≈ 67",
          "L'erreur statique vaut donc Ep = E/(1+G) ≈ 33", "augmenter le gain réduit l'erreur statique",
          "rapproche la boucle de l'instabilité"}},
        {"comm2.rtf", {"Epu(k) = Epu(k-1) + 5,52·Ep(k) − 4,52·Ep(k-1)"}},
        {"comm3.rtf",
         {"Epu(k) = Epu(k−1) + 5,52·Ep(k) − 4,52·Ep(k−1)", "son zéro compense exactement le pôle du four",
          "la boucle fermée à 1/z : un pôle nul", "la commande U sature"}},
        {"comm4.rtf",
         {"Gain G = 4,55", "la porte du four reste ouverte", "X = 51", "U = 8,7 V", "en une seule période"}},
        {"comm5.rtf",
         {"Epu = 40 + 5,52 × 29 = 200", "la température dépasse légèrement sa valeur initiale",
          "aucune commande ne refroidit le four", "refroidissement naturel"}},
    };
    for (const auto& [name, sentences] : expected) {
        SCOPED_TRACE(name);
        QFile file(QDir(QStringLiteral(T1_RESOURCES_DIR)).filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // Plain classic RTF, seven-bit, as every word processor reads it.
        EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; }));

        const DocumentLibrary::Loaded loaded = library.load(QString::fromUtf8(name));
        ASSERT_TRUE(loaded.document) << loaded.error.toStdString();
        const QString text = plain(*loaded.document);
        for (const QString& sentence : sentences)
            EXPECT_TRUE(text.contains(sentence, Qt::CaseInsensitive)) << sentence.toStdString() << "\nin: " << text.toStdString();
    }
}

}  // namespace
