#include "documents/json_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace t1 {
namespace {

constexpr JsonFormat kFormat{"essai", 2, "un fichier d'essai", 64 * 1024};

class JsonFileTest : public ::testing::Test {
protected:
    QString write(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QString refusal(const QString& path) { return JsonFile::read(path, kFormat).error; }

    QTemporaryDir dir;
};

TEST_F(JsonFileTest, AGoodFileGivesItsObject)
{
    const JsonFile f = JsonFile::read(write("bon.json", R"({"format": "essai", "version": 2, "x": 1.5})"), kFormat);
    ASSERT_TRUE(f.ok()) << f.error.toStdString();
    EXPECT_EQ(f.root.value(QStringLiteral("x")).toDouble(), 1.5);
}

// Each kind of bad file is refused with one sentence that names the file
// and says what is wrong with it, without blocking or reading past the cap.
TEST_F(JsonFileTest, EveryBadFileIsRefusedInOneSentence)
{
    static constexpr char kBinary[] = "{\"a\": \"\0\x01\xff\"}";
    const QString fifo = dir.filePath(QStringLiteral("tube.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = write("énorme.json", "{");
    ASSERT_TRUE(QFile::resize(huge, qint64(100) * 1024 * 1024));  // sparse: nothing to read for real
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("dossier.json")));
    const struct {
        QString path;
        const char* says;
    } cases[] = {
        {write("vide.json", " \n"), "est vide"},
        {write("texte.json", "Bonjour"), "n'est pas du JSON valable (ligne 1"},
        {write("coupé.json", "{\"format\": \"essai\",\n \"version\": 2, \"x\": [1, 2"), "sans doute tronqué (ligne 2"},
        {write("binaire.json", QByteArray(kBinary, sizeof kBinary - 1)), "binaire"},
        {write("latin1.json", "{\"a\": \"\xe9t\xe9\"}"), "UTF-8"},
        {write("liste.json", "[1, 2]"), "objet JSON"},
        {write("autre.json", R"({"format": "autre", "version": 1})"), "n'est pas un fichier d'essai"},
        {write("sansversion.json", R"({"format": "essai"})"), "version valable"},
        {write("fraction.json", R"({"format": "essai", "version": 1.5})"), "version valable"},
        {write("future.json", R"({"format": "essai", "version": 3})"), "version 3 de son format"},
        {huge, "trop volumineux (plus de 64 Ko)"},
        {dir.filePath(QStringLiteral("dossier.json")), "n'est pas un fichier ordinaire"},
        {fifo, "n'est pas un fichier ordinaire"},
        {QStringLiteral("/dev/zero"), "n'est pas un fichier ordinaire"},
        {dir.filePath(QStringLiteral("absent.json")), "introuvable"},
    };
    for (const auto& c : cases) {
        const QString error = refusal(c.path);
        SCOPED_TRACE(error.toStdString());
        EXPECT_TRUE(error.startsWith(QStringLiteral("Le fichier « %1 » ").arg(QDir::toNativeSeparators(c.path))));
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << c.says;
        EXPECT_TRUE(error.endsWith(QLatin1Char('.')));
    }
}

}  // namespace
}  // namespace t1
