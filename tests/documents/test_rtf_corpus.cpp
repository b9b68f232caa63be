// Documents written by real word processors, each with the plain text that
// word processor reads back from it.
#include "documents/rtf_reader.h"
#include "tests/support/rtf_text.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <random>

namespace {

using t1::RtfReader;
using t1::test::collapsed;
using t1::test::formatOf;
using t1::test::plain;

// The corpus lives outside the project; a checkout without it skips these tests.
#define REQUIRE_CORPUS()                                                  \
    if (QStringLiteral(T1_RTF_CORPUS_DIR).isEmpty())                      \
    GTEST_SKIP() << "no RTF corpus: set T1_RTF_CORPUS_DIR when configuring"

QString corpusPath(const QString& name)
{
    return QDir(QStringLiteral(T1_RTF_CORPUS_DIR)).filePath(name);
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read " << path.toStdString();
    return f.readAll();
}

std::unique_ptr<QTextDocument> readCorpus(const QString& name)
{
    RtfReader::Result r = RtfReader::read(bytesOf(corpusPath(name)));
    EXPECT_EQ(r.problem, RtfReader::Problem::None) << name.toStdString();
    EXPECT_FALSE(r.truncated) << name.toStdString();
    return std::move(r.document);
}

// A line of the plain text, without its list bullet.
QString phraseOf(const QString& line)
{
    static const QRegularExpression bullet(QStringLiteral("^[\\s\u2022\u00B7-]*"));
    return collapsed(QString(line).remove(bullet));
}

TEST(RtfCorpus, EveryDocumentReadsToItsPlainText)
{
    REQUIRE_CORPUS();
    const QDir dir(QStringLiteral(T1_RTF_CORPUS_DIR));
    const QStringList files = dir.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 5) << "no corpus in " << T1_RTF_CORPUS_DIR;

    // What must never show: skipped destinations, font names, generators,
    // picture data, colour numbers.
    const QStringList forbidden{"ceci ne doit pas s'afficher", "Arial", "Times New Roman", "Liberation",
                                "Helvetica", "Courier", "OpenSymbol", "DejaVu", "Symbol", "LibreOffice",
                                "pastille", "Default Page Style", "Heading", "\\", "{", "}", ";;"};
    static const QRegularExpression hexRun(QStringLiteral("[0-9a-fA-F]{12,}"));

    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const auto doc = readCorpus(file);
        ASSERT_TRUE(doc);
        const QString text = plain(*doc);

        QFile expected(dir.filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".txt")));
        ASSERT_TRUE(expected.open(QIODevice::ReadOnly | QIODevice::Text));
        int phrases = 0;
        for (const QString& line : QString::fromUtf8(expected.readAll()).split(u'\n')) {
            const QString phrase = phraseOf(line);
            if (phrase.isEmpty())
                continue;
            ++phrases;
            EXPECT_TRUE(text.contains(phrase)) << "missing: " << phrase.toStdString() << "\nin: " << text.toStdString();
        }
        EXPECT_GT(phrases, 0);
        for (const QString& bad : forbidden)
            EXPECT_FALSE(text.contains(bad)) << "shows: " << bad.toStdString();
        EXPECT_FALSE(text.contains(hexRun)) << text.toStdString();
    }
}

TEST(RtfCorpus, LibreOfficeFormattingLandsWhereTheDocumentPutsIt)
{
    REQUIRE_CORPUS();
    const auto recurrence = readCorpus(QStringLiteral("libreoffice-recurrence.rtf"));
    ASSERT_TRUE(recurrence);
    const QString formula = QStringLiteral("Epu(k) = Epu(k−1) + 5,52·Ep(k) − 4,52·Ep(k−1)");
    EXPECT_EQ(plain(*recurrence), formula);
    for (int i = 0; i < formula.size(); ++i)
        EXPECT_TRUE(formatOf(*recurrence, formula, i).font().bold()) << i;

    const auto comment = readCorpus(QStringLiteral("libreoffice-commentaire.rtf"));
    ASSERT_TRUE(comment);
    const QTextDocument& doc = *comment;
    const QTextCharFormat attention = formatOf(doc, QStringLiteral("Attention"));
    EXPECT_EQ(attention.foreground().color(), QColor(192, 0, 0));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("Le calculateur")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(doc.find(QStringLiteral("Régulation proportionnelle échantillonnée")).block().blockFormat().alignment(),
              Qt::AlignHCenter);
    EXPECT_TRUE(formatOf(doc, QStringLiteral("Régulation proportionnelle")).font().bold());
    EXPECT_EQ(formatOf(doc, QStringLiteral("Régulation proportionnelle")).font().pixelSize(), 32);  // 24 pt
    EXPECT_EQ(doc.find(QStringLiteral("Fin du commentaire.")).block().blockFormat().alignment(), Qt::AlignRight);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Fin du commentaire.")).font().pixelSize(), 11);  // 8 pt
    EXPECT_TRUE(formatOf(doc, QStringLiteral("Ep = E − X")).font().bold());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("riode T,"), 6).font().italic());
    EXPECT_EQ(formatOf(doc, QStringLiteral("H2O"), 1).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Gain G = 2")).fontFamilies().toStringList(), QStringList{"Liberation Serif"});
    // The list item's hanging indent: \li709 \fi-283.
    const QTextBlockFormat item = doc.find(QStringLiteral("Gain G = 4,55")).block().blockFormat();
    EXPECT_NEAR(item.leftMargin(), 709 / 15.0, 0.01);
    EXPECT_NEAR(item.textIndent(), -283 / 15.0, 0.01);
}

TEST(RtfCorpus, ClassicWordProcessorFormatting)
{
    REQUIRE_CORPUS();
    const auto classic = readCorpus(QStringLiteral("classic-wordprocessor.rtf"));
    ASSERT_TRUE(classic);
    const QTextDocument& doc = *classic;
    const QString title = QStringLiteral("Réponse à la perturbation (régulation PI)");
    EXPECT_EQ(doc.find(title).block().blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(formatOf(doc, title).font().bold());
    EXPECT_EQ(formatOf(doc, title).font().pixelSize(), 19);  // 14 pt
    EXPECT_FALSE(formatOf(doc, QStringLiteral("La porte")).font().bold());
    EXPECT_EQ(formatOf(doc, QStringLiteral("trop énergique")).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("la température dépasse")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(formatOf(doc, QStringLiteral("Remarque")).font().italic());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("erreur de position")).font().italic());
    EXPECT_EQ(formatOf(doc, QStringLiteral("Fin.")).foreground().color(), QColor(0, 0, 255));
    const QTextBlock bullet = doc.find(QStringLiteral("Il n'y a pas")).block();
    EXPECT_TRUE(bullet.text().startsWith(QStringLiteral("•\tIl n'y a pas")));
    EXPECT_DOUBLE_EQ(bullet.blockFormat().leftMargin(), 24);
    EXPECT_DOUBLE_EQ(bullet.blockFormat().textIndent(), -24);
    EXPECT_TRUE(doc.toRawText().contains(QStringLiteral("nulle →\u00A0régime")));
}

TEST(RtfCorpus, PandocFormatting)
{
    REQUIRE_CORPUS();
    const auto markdown = readCorpus(QStringLiteral("pandoc-markdown.rtf"));
    ASSERT_TRUE(markdown);
    EXPECT_TRUE(formatOf(*markdown, QStringLiteral("Réponse pile")).font().bold());
    EXPECT_EQ(formatOf(*markdown, QStringLiteral("Réponse pile")).font().pixelSize(), 24);  // 18 pt
    EXPECT_TRUE(formatOf(*markdown, QStringLiteral("sature")).font().bold());
    EXPECT_FALSE(formatOf(*markdown, QStringLiteral("la commande sature"), 0).font().bold());
    EXPECT_TRUE(formatOf(*markdown, QStringLiteral("z = 0")).font().italic());
    EXPECT_DOUBLE_EQ(markdown->find(QStringLiteral("Si l’échelon")).block().blockFormat().leftMargin(), 48);

    const auto html = readCorpus(QStringLiteral("pandoc-html.rtf"));
    ASSERT_TRUE(html);
    EXPECT_EQ(html->find(QStringLiteral("Commentaire")).block().blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(formatOf(*html, QStringLiteral("H2O"), 1).verticalAlignment(), QTextCharFormat::AlignSubScript);
    // The table: one line per row, the cells apart.
    EXPECT_TRUE(plain(*html).contains(QStringLiteral("Période X Ep U (V) 1 0 100 7,8 2 36 64 5")));
}

// Seeded random damage to real documents: whatever comes in, the reader
// returns in bounded time with a bounded document, or says it is not RTF.
TEST(RtfCorpus, DamagedDocumentsNeverBreakTheReader)
{
    REQUIRE_CORPUS();
    QList<QByteArray> seeds;
    for (const QString& file : QDir(QStringLiteral(T1_RTF_CORPUS_DIR)).entryList({QStringLiteral("*.rtf")}))
        seeds.append(bytesOf(corpusPath(file)));
    for (const QString& file : QDir(QStringLiteral(T1_RESOURCES_DIR)).entryList({QStringLiteral("*.rtf")}))
        seeds.append(bytesOf(QDir(QStringLiteral(T1_RESOURCES_DIR)).filePath(file)));
    ASSERT_FALSE(seeds.isEmpty());

    // Pieces that reach the reader's corners.
    const std::array<QByteArray, 22> pieces{
        "{", "}", "\\", "\\'", "\\'9", "\\u-", "\\u65535?", "\\uc9 ", "\\uc0", "\\bin", "\\bin99999999 ",
        "\\bin3 ", "{\\*\\x ", "{\\fonttbl ", "{\\colortbl ;", "\\cell", "\\row", "\\intbl", "\\par",
        "\\fs99999 ", "\\tx-5", "\\li999999999999 "};

    // Laying out junk makes the font code complain about every odd script.
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    std::mt19937 random(20240611);
    constexpr int kRounds = 3000;
    for (int round = 0; round < kRounds; ++round) {
        QByteArray data = seeds[int(random() % seeds.size())];
        const int edits = 1 + int(random() % 8);
        for (int e = 0; e < edits && !data.isEmpty(); ++e) {
            const auto at = qsizetype(random() % std::size_t(data.size()));
            switch (random() % 6) {
            case 0:
                data[at] = char(random());
                break;
            case 1:
                data.insert(at, pieces[random() % pieces.size()]);
                break;
            case 2:
                data.remove(at, qsizetype(random() % 64));
                break;
            case 3:
                data.truncate(at);
                break;
            case 4:
                data.insert(at, data.mid(qsizetype(random() % std::size_t(data.size())), 200));
                break;
            default:
                data.insert(at, QByteArray(int(random() % 3000), random() % 2 ? '{' : '}'));
                break;
            }
        }
        const RtfReader::Result r = RtfReader::read(data);
        if (r.problem != RtfReader::Problem::None) {
            EXPECT_FALSE(r.document);
            continue;
        }
        ASSERT_TRUE(r.document) << "round " << round;
        EXPECT_LE(r.document->characterCount(), RtfReader::kMaxDocumentChars + 1);
        // The document can be laid out and copied, as the window will do.
        const std::unique_ptr<QTextDocument> copy(r.document->clone());
        EXPECT_EQ(copy->characterCount(), r.document->characterCount()) << "round " << round;
        EXPECT_GE(r.document->size().height(), 0);
    }
    qInstallMessageHandler(previous);
}

}  // namespace
