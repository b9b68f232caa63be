// Documents written by real word processors (tests/data/rtf, with the
// sources they were made from), each with the plain text LibreOffice reads
// back from it.
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
using t1::testing::collapsed;
using t1::testing::formatOf;
using t1::testing::plain;

const QDir kData(QStringLiteral(T1_RTF_DATA_DIR));

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read " << path.toStdString();
    return f.readAll();
}

std::unique_ptr<QTextDocument> readData(const QString& name)
{
    RtfReader::Result r = RtfReader::read(bytesOf(kData.filePath(name)));
    EXPECT_EQ(r.problem, RtfReader::Problem::None) << name.toStdString();
    EXPECT_EQ(r.unsupportedCodePage, 0) << name.toStdString();
    return std::move(r.document);
}

// A line of the plain text, without its list bullet or number.
QString phraseOf(const QString& line)
{
    static const QRegularExpression bullet(QStringLiteral("^[\\s\u2022\u00B7-]*(\\d+\\.\\s)?"));
    return collapsed(QString(line).remove(bullet));
}

QTextBlockFormat blockWith(const QTextDocument& doc, const QString& phrase)
{
    return doc.find(phrase).block().blockFormat();
}

TEST(RtfCorpus, EveryDocumentReadsToItsPlainText)
{
    const QStringList files = kData.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 7) << "no documents in " << T1_RTF_DATA_DIR;

    // What must never show: skipped destinations, font and style names,
    // generators, picture data, colour numbers.
    const QStringList forbidden{"Arial", "Times New Roman", "Liberation", "Helvetica", "Courier", "OpenSymbol",
                                "DejaVu", "Symbol", "LibreOffice", "pandoc", "Default Page Style", "Heading",
                                "Normal"};
    const QStringList forbiddenMarks{"\\", "{", "}", ";;"};
    static const QRegularExpression hexRun(QStringLiteral("[0-9a-fA-F]{12,}"));

    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const auto doc = readData(file);
        ASSERT_TRUE(doc);
        const QString text = plain(*doc);

        QFile expected(kData.filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".txt")));
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
        for (const QString& bad : forbidden) {
            const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(bad)));
            EXPECT_FALSE(text.contains(word)) << "shows: " << bad.toStdString();
        }
        for (const QString& bad : forbiddenMarks)
            EXPECT_FALSE(text.contains(bad)) << "shows: " << bad.toStdString();
        EXPECT_FALSE(text.contains(hexRun)) << text.toStdString();
        EXPECT_FALSE(text.contains(QChar(0xFFFD))) << text.toStdString();
    }
}

TEST(RtfCorpus, LibreOfficeFromHtml)
{
    const auto recurrence = readData(QStringLiteral("libreoffice-recurrence.rtf"));
    ASSERT_TRUE(recurrence);
    const QString formula = QStringLiteral("Epu(k) = Epu(k−1) + 5,52·Ep(k) − 4,52·Ep(k−1)");
    EXPECT_EQ(plain(*recurrence), formula);
    for (int i = 0; i < formula.size(); ++i)
        EXPECT_TRUE(formatOf(*recurrence, formula, i).font().bold()) << i;

    const auto comment = readData(QStringLiteral("libreoffice-commentaire.rtf"));
    ASSERT_TRUE(comment);
    const QTextDocument& doc = *comment;
    const QString title = QStringLiteral("Boucle fermée en régulation proportionnelle");
    EXPECT_EQ(blockWith(doc, title).alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(formatOf(doc, title).font().bold());
    EXPECT_EQ(formatOf(doc, title).font().pixelSize(), 27);  // 20 pt
    EXPECT_EQ(formatOf(doc, title).foreground().color(), QColor(0x1f, 0x3a, 0x93));
    EXPECT_EQ(formatOf(doc, QStringLiteral("Effet du gain")).font().pixelSize(), 19);  // 14 pt
    EXPECT_TRUE(formatOf(doc, QStringLiteral("Ep = E − X")).font().bold());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("Epu = G·Ep")).font().italic());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("le calculateur")).font().bold());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("le calculateur")).hasProperty(QTextFormat::ForegroundBrush));
    const QTextCharFormat attention = formatOf(doc, QStringLiteral("Attention"));
    EXPECT_EQ(attention.foreground().color(), QColor(192, 0, 0));
    EXPECT_TRUE(attention.font().bold());
    EXPECT_EQ(formatOf(doc, QStringLiteral("Conclusion")).foreground().color(), QColor(0, 122, 51));
    EXPECT_EQ(formatOf(doc, QStringLiteral("CO2"), 2).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(doc, QStringLiteral("m2"), 1).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, QStringLiteral("CO2"), 0).verticalAlignment(), QTextCharFormat::AlignNormal);
    const QString note = QStringLiteral("Document de travail");
    EXPECT_EQ(blockWith(doc, note).alignment(), Qt::AlignRight);
    EXPECT_EQ(formatOf(doc, note).font().pixelSize(), 12);  // 9 pt
    // The list's hanging indent, \li709 \fi-283.
    const QTextBlockFormat item = blockWith(doc, QStringLiteral("G = 4,55"));
    EXPECT_NEAR(item.leftMargin(), 709 / 15.0, 0.01);
    EXPECT_NEAR(item.textIndent(), -283 / 15.0, 0.01);
    // The table: one line per row, the cells apart.
    EXPECT_EQ(doc.find(QStringLiteral("Commande U (V)")).block().text(),
              QStringLiteral("Période\tMesure X\tÉcart Ep\tCommande U (V)"));
    EXPECT_EQ(doc.find(QStringLiteral("36")).block().text(), QStringLiteral("2\t36\t64\t5,0"));
}

TEST(RtfCorpus, LibreOfficeFromItsOwnDocument)
{
    const auto perturbation = readData(QStringLiteral("libreoffice-perturbation.rtf"));
    ASSERT_TRUE(perturbation);
    const QTextDocument& doc = *perturbation;
    const QString title = QStringLiteral("Ouverture de la porte du four");
    EXPECT_EQ(blockWith(doc, title).alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(formatOf(doc, title).font().bold());
    EXPECT_EQ(formatOf(doc, title).font().pixelSize(), 21);  // 16 pt
    EXPECT_EQ(formatOf(doc, title).foreground().color(), QColor(0x00, 0x33, 0x66));
    EXPECT_EQ(blockWith(doc, QStringLiteral("Pendant une seule période")).alignment(), Qt::AlignJustify);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Pendant une seule période")).font().pixelSize(), 15);  // 11 pt
    EXPECT_EQ(formatOf(doc, QStringLiteral("rien ne corrige")).foreground().color(), QColor(0xcc, 0x00, 0x00));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("la température remonte")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(formatOf(doc, QStringLiteral("réagit dès")).font().bold());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("réagit dès")).font().italic());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("final est nul")).font().bold());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("final est nul")).font().italic());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("exactement")).font().underline());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("la consigne.")).font().underline());
    EXPECT_EQ(formatOf(doc, QStringLiteral("ne refroidit")).background().color(), QColor(0xff, 0xff, 0x00));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("seule la chaleur")).hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(formatOf(doc, QStringLiteral("Température initiale")).font().pixelSize(), 19);  // 14 pt
    const QString formula = QStringLiteral("X(k+1) = a·X(k) + (1 − a)·U(k) − Q(k)");
    EXPECT_EQ(formatOf(doc, formula).fontFamilies().toStringList(), QStringList{"Liberation Mono"});
    EXPECT_EQ(formatOf(doc, formula).font().pixelSize(), 13);  // 10 pt
    EXPECT_EQ(blockWith(doc, formula).alignment(), Qt::AlignHCenter);
    // 1,5 cm and -0,5 cm.
    const QTextBlockFormat indented = blockWith(doc, QStringLiteral("Régulation PI"));
    EXPECT_NEAR(indented.leftMargin(), 850 / 15.0, 0.01);
    EXPECT_NEAR(indented.textIndent(), -283 / 15.0, 0.01);
    const QString signature = QStringLiteral("Fiche de séance nº 6.");
    EXPECT_EQ(blockWith(doc, signature).alignment(), Qt::AlignRight);
    EXPECT_TRUE(formatOf(doc, signature).font().italic());
    EXPECT_EQ(formatOf(doc, signature).font().pixelSize(), 11);  // 8 pt
}

TEST(RtfCorpus, ALongDocumentReadsWhole)
{
    const auto longer = readData(QStringLiteral("libreoffice-long.rtf"));
    ASSERT_TRUE(longer);
    const QTextDocument& doc = *longer;
    EXPECT_GE(doc.blockCount(), 2 * 40 + 2);
    for (int n : {1, 17, 40}) {
        const QString remark = QStringLiteral("Remarque %1 :").arg(n);
        EXPECT_TRUE(formatOf(doc, remark).font().bold()) << n;
        EXPECT_FALSE(doc.find(QStringLiteral("essai nº %1,").arg(n)).isNull()) << n;
    }
    EXPECT_TRUE(formatOf(doc, QStringLiteral("reste égale à T1/5.")).font().italic());
    EXPECT_TRUE(plain(doc).endsWith(QStringLiteral("Fin du carnet.")));
}

TEST(RtfCorpus, PandocAndAWordDocument)
{
    const auto markdown = readData(QStringLiteral("pandoc-markdown.rtf"));
    ASSERT_TRUE(markdown);
    const QString heading = QStringLiteral("Réponse pile en régulation PI");
    EXPECT_TRUE(formatOf(*markdown, heading).font().bold());
    EXPECT_EQ(formatOf(*markdown, heading).font().pixelSize(), 24);  // 18 pt
    EXPECT_TRUE(formatOf(*markdown, QStringLiteral("récurrence")).font().bold());
    EXPECT_FALSE(formatOf(*markdown, QStringLiteral("calcule sa commande")).font().bold());
    EXPECT_TRUE(formatOf(*markdown, QStringLiteral("zéro")).font().italic());
    EXPECT_TRUE(formatOf(*markdown, QStringLiteral("l’écart est nul")).font().bold());
    // The block quote is indented.
    EXPECT_GT(blockWith(*markdown, QStringLiteral("Si la consigne")).leftMargin(), 0);

    const auto html = readData(QStringLiteral("pandoc-html.rtf"));
    ASSERT_TRUE(html);
    EXPECT_EQ(formatOf(*html, QStringLiteral("CO2"), 2).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_TRUE(plain(*html).contains(QStringLiteral("Période Mesure X Écart Ep Commande U (V) 1 0 100 7,8 2 36 64 5,0")));

    const auto word = readData(QStringLiteral("libreoffice-docx.rtf"));
    ASSERT_TRUE(word);
    EXPECT_TRUE(formatOf(*word, QStringLiteral("récurrence")).font().bold());
    EXPECT_TRUE(formatOf(*word, QStringLiteral("zéro")).font().italic());
    EXPECT_FALSE(formatOf(*word, QStringLiteral("compense")).font().italic());
    EXPECT_GT(formatOf(*word, heading).font().pixelSize(), formatOf(*word, QStringLiteral("compense")).font().pixelSize());
}

// Seeded random damage to real documents: whatever comes in, the reader
// returns in bounded time with a bounded document, or says it is not RTF.
TEST(RtfCorpus, DamagedDocumentsNeverBreakTheReader)
{
    QList<QByteArray> seeds;
    for (const QString& file : kData.entryList({QStringLiteral("*.rtf")}))
        seeds.append(bytesOf(kData.filePath(file)));
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
        EXPECT_LE(r.document->blockCount(), RtfReader::kMaxParagraphs);
        for (QTextBlock b = r.document->firstBlock(); b.isValid(); b = b.next()) {
            ASSERT_LE(b.length() - 1, RtfReader::kMaxParagraphChars) << "round " << round;
            ASSERT_LE(b.textFormats().size(), RtfReader::kMaxParagraphRuns) << "round " << round;
        }
        // The document can be laid out and copied, as the window will do.
        const std::unique_ptr<QTextDocument> copy(r.document->clone());
        EXPECT_EQ(copy->characterCount(), r.document->characterCount()) << "round " << round;
        EXPECT_GE(r.document->size().height(), 0);
    }
    qInstallMessageHandler(previous);
}

}  // namespace
