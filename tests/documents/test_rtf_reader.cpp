#include "documents/rtf_reader.h"
#include "tests/support/rtf_text.h"

#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <chrono>

namespace {

using t1::RtfReader;
using t1::testing::formatOf;
using t1::testing::plain;

RtfReader::Result read(const QByteArray& rtf)
{
    return RtfReader::read(rtf);
}

QString textOf(const QByteArray& rtf)
{
    const RtfReader::Result r = read(rtf);
    return r.document ? r.document->toRawText() : QStringLiteral("<no document>");
}

QTextBlockFormat blockWith(const QTextDocument& doc, const QString& phrase)
{
    return doc.find(phrase).block().blockFormat();
}

TEST(RtfReader, RefusesWhatIsNotRtf)
{
    EXPECT_EQ(read("").problem, RtfReader::Problem::Empty);
    EXPECT_EQ(read(" \r\n\t ").problem, RtfReader::Problem::Empty);
    EXPECT_EQ(read("Bonjour").problem, RtfReader::Problem::NotRtf);
    EXPECT_EQ(read("<html><body>{\\rtf1 x}</body></html>").problem, RtfReader::Problem::NotRtf);
    EXPECT_EQ(read("{\\rt").problem, RtfReader::Problem::NotRtf);
    EXPECT_EQ(read(QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)).problem, RtfReader::Problem::NotRtf);
    EXPECT_FALSE(read("Bonjour").document);

    // A byte order mark and blank lines before the header are tolerated.
    EXPECT_EQ(textOf("\xEF\xBB\xBF\r\n{\\rtf1 ok}"), QStringLiteral("ok"));
    const RtfReader::Result empty = read("{\\rtf1}");
    ASSERT_TRUE(empty.document);
    EXPECT_TRUE(empty.document->isEmpty());
}

TEST(RtfReader, ControlWordsConsumeOneSpaceAndTheirArgument)
{
    // The space after a word ends it; a second one is text.
    EXPECT_EQ(textOf("{\\rtf1\\b  deux}"), QStringLiteral(" deux"));
    EXPECT_EQ(textOf("{\\rtf1\\fs20 a\\fs-4 b\\fs12345678901234 c}"), QStringLiteral("abc"));
    // A hyphen not followed by a digit is text.
    EXPECT_EQ(textOf("{\\rtf1\\b-x}"), QStringLiteral("-x"));
    // Unknown words, even very long ones, are ignored with their argument.
    EXPECT_EQ(textOf("{\\rtf1\\motinconnu42 texte \\" + QByteArray(500, 'z') + "7 fin}"),
              QStringLiteral("texte fin"));
    // Line ends in the file are not text; a backslash before one is a paragraph.
    EXPECT_EQ(textOf("{\\rtf1 un\r\ndeux\\\ntrois}"), QStringLiteral("undeux\u2029trois"));
}

TEST(RtfReader, ControlSymbols)
{
    EXPECT_EQ(textOf("{\\rtf1 a\\\\b\\{c\\}d}"), QStringLiteral("a\\b{c}d"));
    EXPECT_EQ(textOf("{\\rtf1 1\\~000 co\\-op pr\\_lude}"), QStringLiteral("1\u00A0000 co\u00ADop pr\u2011lude"));
    EXPECT_EQ(textOf("{\\rtf1 x\\|y\\:z}"), QStringLiteral("xyz"));
}

TEST(RtfReader, GroupsRestoreTheFormatting)
{
    const RtfReader::Result r = read("{\\rtf1 avant {\\b gras {\\i italique} gras} apr\\'e8s}");
    ASSERT_TRUE(r.document);
    const QTextDocument& doc = *r.document;
    EXPECT_EQ(plain(doc), QStringLiteral("avant gras italique gras après"));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("avant")).font().bold());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("italique")).font().bold());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("italique")).font().italic());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("gras apr")).font().italic());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("après")).font().bold());
}

TEST(RtfReader, CharacterFormatting)
{
    const RtfReader::Result r =
        read("{\\rtf1{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}{\\f2\\fmodern Courier New;}}"
             "\\f1\\fs20 dix \\fs24 douze \\b gras\\b0  \\i pench\\'e9\\i0  \\ul soulign\\'e9\\ulnone  "
             "\\ul0 \\strike barr\\'e9\\strike0  \\f2 fixe \\f0 romain \\b\\i\\fs40 tout\\plain  simple "
             "H{\\dn4 2}O x{\\super 2} Q{\\sub k}}");
    ASSERT_TRUE(r.document);
    const QTextDocument& doc = *r.document;
    EXPECT_FALSE(plain(doc).contains(QStringLiteral("Arial")));
    EXPECT_FALSE(plain(doc).contains(QStringLiteral("Courier")));

    // Half points to pixels at 96 per inch: 10 pt = 13 px, 12 pt = 16 px.
    EXPECT_EQ(formatOf(doc, QStringLiteral("dix")).font().pixelSize(), 13);
    EXPECT_EQ(formatOf(doc, QStringLiteral("douze")).font().pixelSize(), 16);
    EXPECT_EQ(formatOf(doc, QStringLiteral("douze")).fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_TRUE(formatOf(doc, QStringLiteral("gras")).font().bold());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("penché")).font().italic());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("penché")).font().bold());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("souligné")).font().underline());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("barré")).font().underline());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("barré")).font().strikeOut());
    EXPECT_EQ(formatOf(doc, QStringLiteral("fixe")).fontFamilies().toStringList(), QStringList{"Courier New"});
    EXPECT_EQ(formatOf(doc, QStringLiteral("fixe")).fontStyleHint(), QFont::TypeWriter);
    EXPECT_EQ(formatOf(doc, QStringLiteral("romain")).fontFamilies().toStringList(), QStringList{"Times New Roman"});
    const QTextCharFormat all = formatOf(doc, QStringLiteral("tout"));
    EXPECT_TRUE(all.font().bold() && all.font().italic());
    EXPECT_EQ(all.font().pixelSize(), 27);
    // \plain: back to the default font (\deff0), 12 pt, no style.
    const QTextCharFormat simple = formatOf(doc, QStringLiteral("simple"));
    EXPECT_FALSE(simple.font().bold() || simple.font().italic());
    EXPECT_EQ(simple.font().pixelSize(), 16);
    EXPECT_EQ(simple.fontFamilies().toStringList(), QStringList{"Times New Roman"});

    EXPECT_EQ(formatOf(doc, QStringLiteral("H2O"), 1).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(doc, QStringLiteral("H2O"), 2).verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_EQ(formatOf(doc, QStringLiteral("x2"), 1).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Qk"), 1).verticalAlignment(), QTextCharFormat::AlignSubScript);
}

TEST(RtfReader, ColourTableEntryZeroIsTheDefault)
{
    const RtfReader::Result r = read("{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                                     "normal \\cf1 rouge\\cf0  auto \\highlight2 surlign\\'e9\\highlight0  fin}");
    ASSERT_TRUE(r.document);
    const QTextDocument& doc = *r.document;
    EXPECT_EQ(plain(doc), QStringLiteral("normal rouge auto surligné fin"));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("normal")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, QStringLiteral("rouge")).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("auto")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, QStringLiteral("surligné")).background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("fin")).hasProperty(QTextFormat::BackgroundBrush));

    // An explicit entry 0 colours the text that asks for no colour.
    const RtfReader::Result black = read("{\\rtf1{\\colortbl\\red0\\green128\\blue0;}vert \\cf7 hors table}");
    ASSERT_TRUE(black.document);
    EXPECT_EQ(formatOf(*black.document, QStringLiteral("vert")).foreground().color(), QColor(0, 128, 0));
    EXPECT_FALSE(formatOf(*black.document, QStringLiteral("hors")).hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfReader, Paragraphs)
{
    const RtfReader::Result r = read(
        "{\\rtf1\\pard\\qc centre\\par\\qr droite\\par\\qj justifi\\'e9\\par"
        "\\pard\\li720\\ri360\\fi-360\\sb240\\sa120 retrait\\par"
        "\\pard gauche\\line suite\\tab tab\\par"
        "{\\pard\\qc dans un groupe\\par}hors du groupe}");
    ASSERT_TRUE(r.document);
    const QTextDocument& doc = *r.document;
    EXPECT_EQ(doc.blockCount(), 7);
    EXPECT_EQ(blockWith(doc, "centre").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockWith(doc, "droite").alignment(), Qt::AlignRight);
    EXPECT_EQ(blockWith(doc, "justifié").alignment(), Qt::AlignJustify);
    // \pard resets; twips become pixels at 96 per inch (15 twips a pixel).
    const QTextBlockFormat indent = blockWith(doc, "retrait");
    EXPECT_EQ(indent.alignment(), Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(indent.leftMargin(), 48);
    EXPECT_DOUBLE_EQ(indent.rightMargin(), 24);
    EXPECT_DOUBLE_EQ(indent.textIndent(), -24);
    EXPECT_DOUBLE_EQ(indent.topMargin(), 16);
    EXPECT_DOUBLE_EQ(indent.bottomMargin(), 8);
    EXPECT_DOUBLE_EQ(blockWith(doc, "gauche").leftMargin(), 0);
    EXPECT_EQ(doc.find("gauche").block().text(), QStringLiteral("gauche\u2028suite\ttab"));
    // Paragraph properties belong to the group, like character ones.
    EXPECT_EQ(blockWith(doc, "dans un groupe").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockWith(doc, "hors du groupe").alignment(), Qt::AlignLeft);

    // A closing \par does not add an empty paragraph; an empty one is kept.
    EXPECT_EQ(read("{\\rtf1 un\\par}").document->blockCount(), 1);
    EXPECT_EQ(read("{\\rtf1 un\\par\\par deux}").document->blockCount(), 3);
}

TEST(RtfReader, CodePageAndUnicodeEscapes)
{
    // Code page 1252, including its own letters in 0x80..0x9F.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1252 \\'e9t\\'e9 \\'9cuvre \\'80 \\'91a\\'92 \\'93b\\'94 \\'b0C \\'95}"),
              QStringLiteral("été œuvre € ‘a’ “b” °C •"));
    // Raw bytes above 0x7F are read in the same code page.
    EXPECT_EQ(textOf("{\\rtf1 caf\xE9 \x80}"), QStringLiteral("café €"));
    // \uN skips its fallback, one character by default.
    EXPECT_EQ(textOf("{\\rtf1 \\u233?t\\u233? \\u8722\\'3f1 \\u8594 ?x}"), QStringLiteral("été −1 →x"));
    // Negative N is the code unit plus 65536.
    EXPECT_EQ(textOf("{\\rtf1 \\u-3913?\\u-1?}"), QStringLiteral("\uF0B7\uFFFF"));
    // \ucN sets how many characters to skip, for the group.
    EXPECT_EQ(textOf("{\\rtf1{\\uc2 \\u339oe}\\u339?x{\\uc0\\u8364 }y}"), QStringLiteral("œœx€y"));
    // A group's end ends the fallback.
    EXPECT_EQ(textOf("{\\rtf1{\\uc3\\u233}abc}"), QStringLiteral("éabc"));
    // Characters beyond the first plane come as two escapes; a lone half is replaced.
    EXPECT_EQ(textOf("{\\rtf1\\u-10179?\\u-8704? \\u-10179?x}"), QStringLiteral("\U0001F600 \uFFFDx"));
    // QTextDocument's own frame markers never enter the text.
    EXPECT_EQ(textOf("{\\rtf1 a\\u-560?\\u-559?\\u-4?b}"), QStringLiteral("a\uFFFD\uFFFD\uFFFDb"));
}

TEST(RtfReader, DeclaredCodePagesAreHonoured)
{
    // The document's page for escapes and raw bytes alike.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \xEC\xE8\xF0 \\'b9}"),
              QStringLiteral("Привет мир №"));
    const std::map<QByteArray, QString> pages{
        {"\\ansicpg1250 \\'a3\\'f3d\\'9f, \\'8arobar", QStringLiteral("Łódź, Šrobar")},
        {"\\ansicpg1253 \\'e8\\'e5\\'f1\\'ec\\'fc\\'f4\\'e7\\'f4\\'e1", QStringLiteral("θερμότητα")},
        {"\\ansicpg1254 \\'dd\\'fe\\'f0\\'fd", QStringLiteral("İşğı")},
        {"\\ansicpg1257 \\'c0\\'e8\\'fe", QStringLiteral("Ąčž")},
        {"\\pc \\'82t\\'82 \\'b0\\'db", QStringLiteral("été ░█")},
        {"\\pca \\'82t\\'82 \\'b5", QStringLiteral("été Á")},
        {"\\mac \\'8et\\'8e \\'a5", QStringLiteral("été •")},
        {"\\ansicpg10000 \\'88 \\'d2\\'d3", QStringLiteral("à “”")},
        {"\\ansicpg0 \\'e9", QStringLiteral("é")},
    };
    for (const auto& [declaration, text] : pages)
        EXPECT_EQ(textOf("{\\rtf1" + declaration + "}"), text) << declaration.toStdString();

    // A font's charset or code page wins over the document's, in that font only.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                     "{\\f1\\fswiss\\fcharset204 Arial Cyr;}{\\f2\\fnil\\cpg1253 Grec;}{\\f3\\fcharset2 Symbol;}}"
                     "\\f0 \\'e9 {\\f1 \\'e4\\'e0} \\'e9 \\f2\\'e1 \\f3\\'b7}"),
              QStringLiteral("é да é α ·"));
    // And the font's name is read in its page.
    const RtfReader::Result named = read("{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}}\\f0 x}");
    ASSERT_TRUE(named.document);
    EXPECT_EQ(formatOf(*named.document, QStringLiteral("x"), 0).fontFamilies().toStringList(), QStringList{"Ариал"});
    EXPECT_EQ(named.unsupportedCodePage, 0);
}

TEST(RtfReader, DoubleBytePagesReadTheirPairs)
{
    // Shift-JIS, as a Japanese word processor writes it, a line end between
    // the two bytes of a pair included.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2\\'93\\'fa\\'96\\'7b\\'8c\\'ea ASCII \\'82\r\n\\'a4 \xB1}"),
              QStringLiteral("あい日本語 ASCII う ｱ"));
    // A trail byte in the ASCII range, written as itself.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932 \\'83\\'5c\\'83]}"), QStringLiteral("ソゾ"));
    // The pair's fallback of a \\u escape is skipped whole.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932\\uc2 \\u26085\\'93\\'fa!}"), QStringLiteral("日!"));
    // A first byte cut off by something else is not text.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932 a\\'82\\par b\\'82}"), QStringLiteral("a\uFFFD\u2029b\uFFFD"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}"), QStringLiteral("中文"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg949 \\'c7\\'d1\\'b1\\'db}"), QStringLiteral("한글"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg950 \\'a4\\'a4\\'a4\\'e5}"), QStringLiteral("中文"));
}

TEST(RtfReader, AnUnknownCodePageIsReportedNotGuessed)
{
    const RtfReader::Result r = read("{\\rtf1\\ansi\\ansicpg4242 caf\\'e9 cr\xE8me \\u233?t\\u233?}");
    ASSERT_TRUE(r.document);
    EXPECT_EQ(r.document->toRawText(), QStringLiteral("caf\uFFFD cr\uFFFDme été"));
    EXPECT_EQ(r.unsupportedCodePage, 4242);
    // Said only when a character needed it.
    EXPECT_EQ(read("{\\rtf1\\ansicpg4242 seulement de l'ASCII \\u233?}").unsupportedCodePage, 0);
    EXPECT_EQ(read("{\\rtf1\\ansicpg1252 \\'e9}").unsupportedCodePage, 0);
    // A font's unknown page, the document's own being fine.
    const RtfReader::Result font = read("{\\rtf1{\\fonttbl{\\f1\\cpg777 X;}}\\'e9{\\f1\\'e9}}");
    ASSERT_TRUE(font.document);
    EXPECT_EQ(font.document->toRawText(), QStringLiteral("é\uFFFD"));
    EXPECT_EQ(font.unsupportedCodePage, 777);
}

TEST(RtfReader, SkippedDestinations)
{
    const QString text = textOf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial{\\*\\falt Helvetica};}}"
        "{\\colortbl;\\red10\\green20\\blue30;}"
        "{\\stylesheet{\\s0 Normal;}{\\s1 Titre 1;}}"
        "{\\info{\\title Le titre}{\\author Quelqu'un}}"
        "{\\*\\generator Un traitement de texte;}"
        "{\\header En-t\\'eate}{\\footer Pied}{\\footnote Note}"
        "{\\*\\destinationinconnue ceci ne doit pas s'afficher}"
        "{\\*\\autre ni \\{ceci\\} ni {\\b cela} ni \\'e9\\\\}"
        "{\\pict\\pngblip\\picw24 89504e470d0a1a0a0000000d49484452}"
        "{\\*\\shppict{\\pict 0123456789abcdef}}{\\nonshppict{\\pict fedcba}}"
        "{\\field{\\*\\fldinst HYPERLINK \"http://exemple\"}{\\fldrslt lien}}"
        "{\\field{\\fldinst PAGE}{\\fldrslt 3}}"
        "visible \\v cach\\'e9\\v0 texte}");
    EXPECT_EQ(text, QStringLiteral("lien3visible texte"));
}

TEST(RtfReader, TableCellsReadAsOneLinePerRow)
{
    const RtfReader::Result r = read("{\\rtf1\\trowd\\cellx1000\\cellx2000\\cellx3000"
                                     "\\intbl A\\cell B\\cell\\cell\\row"
                                     "\\trowd\\cellx1000{\\pard\\intbl un\\par deux\\par}\\cell\\row"
                                     "\\pard apr\\'e8s\\par}");
    ASSERT_TRUE(r.document);
    EXPECT_EQ(r.document->toRawText(), QStringLiteral("A\tB\u2029un\u2028deux\u2029après"));
}

TEST(RtfReader, BinaryDataIsNeverText)
{
    // The bytes may be anything, braces included.
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\bin6 }}{{\\{}b\\bin3 xyzc}"), QStringLiteral("abc"));
    // A length past the end: the rest is data, and the document ends there.
    EXPECT_EQ(textOf("{\\rtf1 avant\\bin2147483647 ab}"), QStringLiteral("avant"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin-5 b\\bin c}"), QStringLiteral("abc"));
}

TEST(RtfReader, DamagedDocumentsGiveWhatCouldBeRead)
{
    // Truncated: the groups never close.
    const RtfReader::Result cut = read("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\qc {\\b Titre\\par} d\\'e9but {\\i de");
    ASSERT_TRUE(cut.document);
    EXPECT_EQ(plain(*cut.document), QStringLiteral("Titre début de"));

    // Unbalanced the other way: the document ends at its own closing brace.
    const RtfReader::Result extra = read("{\\rtf1 dedans}} dehors {\\b encore}");
    ASSERT_TRUE(extra.document);
    EXPECT_EQ(plain(*extra.document), QStringLiteral("dedans"));

    // Escapes cut off at the very end.
    for (const char* end : {"{\\rtf1 x\\", "{\\rtf1 x\\'", "{\\rtf1 x\\'e", "{\\rtf1 x\\u", "{\\rtf1 x\\u-", "{\\rtf1 x\\u233"}) {
        const RtfReader::Result r = read(end);
        ASSERT_TRUE(r.document) << end;
        EXPECT_TRUE(plain(*r.document).startsWith(u'x')) << end;
    }
}

TEST(RtfReader, NestingTensOfThousandsDeepDoesNotExhaustTheStack)
{
    constexpr int kDepth = 100000;
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(kDepth, '{') + "\\b profond" + QByteArray(kDepth, '}') + " surface}";
    const RtfReader::Result r = read(deep);
    ASSERT_TRUE(r.document);
    EXPECT_EQ(plain(*r.document), QStringLiteral("profond surface"));
    EXPECT_TRUE(formatOf(*r.document, QStringLiteral("profond")).font().bold());
    EXPECT_FALSE(formatOf(*r.document, QStringLiteral("surface")).font().bold());

    // The same, never closed.
    const RtfReader::Result open = read("{\\rtf1 " + QByteArray(kDepth, '{') + "x");
    ASSERT_TRUE(open.document);
    EXPECT_EQ(plain(*open.document), QStringLiteral("x"));
}

TEST(RtfReader, SizeCapsKeepTheBeginningOfTheDocument)
{
    // More text than a document may hold: what comes first is shown.
    QByteArray words = "{\\rtf1 D\\'e9but ";
    while (words.size() < 2 * RtfReader::kMaxDocumentChars)
        words += "mot ";
    const RtfReader::Result big = read(words + "FIN}");
    ASSERT_TRUE(big.document);
    const QString text = big.document->toRawText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Début mot mot")));
    EXPECT_FALSE(text.contains(QStringLiteral("FIN")));
    EXPECT_LE(big.document->characterCount(), RtfReader::kMaxDocumentChars + 1);
    EXPECT_GE(big.document->characterCount(), RtfReader::kMaxDocumentChars * 9 / 10);

    // Paragraphs are capped too; the first ones are kept in order.
    QByteArray pars = "{\\rtf1 ";
    for (int i = 0; i < RtfReader::kMaxParagraphs + 100; ++i)
        pars += "p" + QByteArray::number(i) + "\\par ";
    const RtfReader::Result many = read(pars + "}");
    ASSERT_TRUE(many.document);
    EXPECT_EQ(many.document->blockCount(), RtfReader::kMaxParagraphs);
    EXPECT_EQ(many.document->firstBlock().text(), QStringLiteral("p0"));
    EXPECT_EQ(many.document->lastBlock().text(), QStringLiteral("p%1").arg(RtfReader::kMaxParagraphs - 1));
}

// Bounds on what the window lays out at once: each holds for the document
// as a whole, not only for what one control word may ask.
TEST(RtfReader, AVeryLongParagraphGoesOnInTheNextWithItsFormat)
{
    QByteArray rtf = "{\\rtf1\\pard\\qj\\li360 {\\b gras} ";
    QString expected = QStringLiteral("gras ");
    for (int i = 0; expected.size() < 3 * RtfReader::kMaxParagraphChars; ++i) {
        rtf += "mot" + QByteArray::number(i) + " ";
        expected += QStringLiteral("mot%1 ").arg(i);
    }
    const RtfReader::Result r = read(rtf + "\\par suite}");
    ASSERT_TRUE(r.document);
    const QTextDocument& doc = *r.document;
    EXPECT_EQ(doc.blockCount(), 4 + 1);
    QString joined;
    for (QTextBlock b = doc.firstBlock(); b.isValid() && b.text() != QStringLiteral("suite"); b = b.next()) {
        EXPECT_LE(b.length() - 1, RtfReader::kMaxParagraphChars);
        EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignJustify);
        EXPECT_DOUBLE_EQ(b.blockFormat().leftMargin(), 24);
        joined += b.text();
    }
    EXPECT_EQ(joined, expected);
    EXPECT_TRUE(formatOf(doc, QStringLiteral("gras")).font().bold());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("mot1 ")).font().bold());
}

TEST(RtfReader, FormatChangesPastTheCapKeepTheFormatBefore)
{
    // A paragraph that changes format on every letter.
    QByteArray rtf = "{\\rtf1 ";
    constexpr int kLetters = 4 * RtfReader::kMaxParagraphRuns;
    for (int i = 0; i < kLetters / 2; ++i)
        rtf += "\\b x\\b0 y";
    const RtfReader::Result one = read(rtf + "\\par {\\i pench\\'e9} droit}");
    ASSERT_TRUE(one.document);
    const QTextBlock first = one.document->firstBlock();
    EXPECT_EQ(first.text(), QString(kLetters / 2, u'x').replace(u'x', QStringLiteral("xy")));
    EXPECT_EQ(first.textFormats().size(), RtfReader::kMaxParagraphRuns);
    EXPECT_TRUE(formatOf(*one.document, QStringLiteral("xyxy"), 0).font().bold());
    EXPECT_FALSE(formatOf(*one.document, QStringLiteral("xyxy"), 1).font().bold());
    // The next paragraph has its own.
    EXPECT_TRUE(formatOf(*one.document, QStringLiteral("penché")).font().italic());
    EXPECT_FALSE(formatOf(*one.document, QStringLiteral("droit")).font().italic());

    // Across the document: every paragraph keeps its text and its first run.
    QByteArray many = "{\\rtf1 ";
    constexpr int kParagraphs = 4 * RtfReader::kMaxDocumentRuns / RtfReader::kMaxParagraphRuns;
    for (int p = 0; p < kParagraphs; ++p) {
        for (int i = 0; i < RtfReader::kMaxParagraphRuns / 2; ++i)
            many += "\\b x\\b0 y";
        many += "\\par ";
    }
    const RtfReader::Result all = read(many + "}");
    ASSERT_TRUE(all.document);
    int formats = 0;
    for (QTextBlock b = all.document->firstBlock(); b.isValid(); b = b.next()) {
        formats += int(b.textFormats().size());
        EXPECT_EQ(b.length() - 1, RtfReader::kMaxParagraphRuns) << b.blockNumber();
    }
    EXPECT_EQ(all.document->blockCount(), kParagraphs);
    EXPECT_LE(formats, RtfReader::kMaxDocumentRuns + kParagraphs);
}

TEST(RtfReader, SizesStopAtTheLargestACommentaryUses)
{
    const RtfReader::Result r = read("{\\rtf1\\fs144 a\\fs145 b\\fs32767 c\\fs2147483647 d\\par"
                                     "\\sb1440\\sa31680 e\\par}");
    ASSERT_TRUE(r.document);
    constexpr int kPixels = RtfReader::kMaxPoints * 96 / 72;
    for (const char* letter : {"a", "b", "c", "d"})
        EXPECT_EQ(formatOf(*r.document, QString::fromUtf8(letter)).font().pixelSize(), kPixels) << letter;
    // Space above and below a paragraph: at most a line of that size.
    EXPECT_DOUBLE_EQ(blockWith(*r.document, QStringLiteral("e")).topMargin(), kPixels);
    EXPECT_DOUBLE_EQ(blockWith(*r.document, QStringLiteral("e")).bottomMargin(), kPixels);
}

TEST(RtfReader, ALetterCarriesAtMostThirtyMarks)
{
    // Unicode's stream-safe limit; more would make one endless cluster.
    QByteArray rtf = "{\\rtf1 a";
    for (int i = 0; i < 1000; ++i)
        rtf += "\\u769?";
    const QString text = textOf(rtf + " e\\u769?\\u770? x\\u8205?\\u8205?}");
    EXPECT_EQ(text, QStringLiteral("a") + QString(30, QChar(0x0301)) + QStringLiteral(" e\u0301\u0302 x\u200D\u200D"));
}

TEST(RtfReader, AFileOfNothingButControlsEndsAfterTheirCap)
{
    const auto controls = [](int count) {
        QByteArray rtf = "{\\rtf1 d\\'e9but";
        for (int i = 0; i < count / 2; ++i)
            rtf += "\\b\\b0";
        return rtf + "  fin}";
    };
    EXPECT_EQ(textOf(controls(RtfReader::kMaxControls - 8)), QStringLiteral("début fin"));
    EXPECT_EQ(textOf(controls(RtfReader::kMaxControls)), QStringLiteral("début"));
    // Braces count too.
    QByteArray groups = "{\\rtf1 d\\'e9but";
    for (int i = 0; i < RtfReader::kMaxControls / 2; ++i)
        groups += "{}";
    EXPECT_EQ(textOf(groups + " fin}"), QStringLiteral("début"));
}

TEST(RtfReader, FormattingChurnCostsNoMoreThanPlainText)
{
    // A run per character is the costliest text the reader can be given:
    // it must not cost much more than as many plain characters (a
    // quadratic build took minutes).
    QByteArray churn = "{\\rtf1 ";
    QByteArray flat = "{\\rtf1 ";
    for (int i = 0; i < RtfReader::kMaxDocumentChars; ++i) {
        churn += (i % 2) ? "\\b a" : "\\b0 b";
        flat += (i % 2) ? "\\x a" : "\\y b";
    }
    const auto timed = [](const QByteArray& rtf) {
        const auto start = std::chrono::steady_clock::now();
        const RtfReader::Result r = RtfReader::read(rtf);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(r.document->characterCount(), RtfReader::kMaxDocumentChars + 1);
        return std::chrono::duration<double>(elapsed).count();
    };
    timed(flat);  // the font caches, warm
    double churnTime = 1e9;
    double flatTime = 1e9;
    for (int round = 0; round < 3; ++round) {
        churnTime = std::min(churnTime, timed(churn));
        flatTime = std::min(flatTime, timed(flat));
    }
    EXPECT_LT(churnTime / flatTime, 4.0) << churnTime << " s against " << flatTime << " s";
}

}  // namespace
