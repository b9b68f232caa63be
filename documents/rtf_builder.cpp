#include "documents/rtf_builder.h"

#include "documents/rtf_reader.h"
#include "documents/rtf_tables.h"

#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <array>

namespace t1::rtf {

namespace {

// Sizes in a file are in half points (fonts) and twips (distances); the
// document is laid out in pixels at the 96 per inch the program is drawn for.
constexpr double kPixelsPerHalfPoint = 96.0 / 144.0;
constexpr double kPixelsPerTwip = 96.0 / 1440.0;
constexpr int kDefaultTabTwips = 720;
constexpr int kMaxMarksInRow = 30;

constexpr char16_t kTab = u'\t';
constexpr char16_t kFirstPrintable = 0x20;
constexpr char16_t kDelete = 0x7F;
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kReplacement = 0xFFFD;
// Characters QTextDocument keeps for its own frames and objects.
constexpr std::array<char16_t, 3> kDocumentMarkers{0xFDD0, 0xFDD1, 0xFFFC};

bool isMark(char16_t c)
{
    constexpr char16_t kZeroWidthJoiner = 0x200D;
    switch (QChar::category(char32_t(c))) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return c == kZeroWidthJoiner;
    }
}

// A pair of surrogates written as two `\u` escapes makes one character; a
// lone half of a pair is not text.
void replaceLoneSurrogates(QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar(kReplacement);
    }
}

QTextBlockFormat blockFormat(const ParaProps& p)
{
    QTextBlockFormat format;
    constexpr std::array kAlignment{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    format.setAlignment(kAlignment[std::size_t(p.align)]);
    format.setLeftMargin(p.left * kPixelsPerTwip);
    format.setRightMargin(p.right * kPixelsPerTwip);
    format.setTextIndent(p.first * kPixelsPerTwip);
    format.setTopMargin(p.before * kPixelsPerTwip);
    format.setBottomMargin(p.after * kPixelsPerTwip);
    if (p.tabCount > 0) {
        QList<QTextOption::Tab> tabs;
        for (int i = 0; i < p.tabCount; ++i)
            tabs.append(QTextOption::Tab(p.tabs[std::size_t(i)] * kPixelsPerTwip, QTextOption::LeftTab));
        format.setTabPositions(tabs);
    }
    return format;
}

}  // namespace

DocumentBuilder::DocumentBuilder(const FontTable& fonts, const ColourTable& colours)
    : m_fonts(fonts), m_colours(colours), m_document(std::make_unique<QTextDocument>()), m_tabTwips(kDefaultTabTwips)
{
    m_document->setUndoRedoEnabled(false);
    m_cursor = QTextCursor(m_document.get());
    // One edit for the whole build: otherwise each run inserted updates the
    // document again, and a paragraph of many runs takes quadratic time.
    m_cursor.beginEditBlock();
}

DocumentBuilder::~DocumentBuilder() = default;

void DocumentBuilder::character(char16_t c, const GroupState& group)
{
    if (group.ch.has(Style::Hidden) || (c < kFirstPrintable && c != kTab) || c == kDelete)
        return;
    if (c == kParagraphSeparator)
        c = kLineSeparator;
    if (std::find(kDocumentMarkers.begin(), kDocumentMarkers.end(), c) != kDocumentMarkers.end())
        c = kReplacement;
    // Unicode's stream-safe limit: a letter carries at most 30 marks. More
    // make one cluster that the layout can neither break nor shape quickly.
    if (isMark(c)) {
        if (m_marksInRow >= kMaxMarksInRow)
            return;
        ++m_marksInRow;
    } else {
        m_marksInRow = 0;
    }

    // Table cells read as one line per row, the cells apart by tabs.
    if (m_cellsPending > 0) {
        for (; m_cellsPending > 0 && !m_done; --m_cellsPending)
            append(kTab, group);
    } else if (m_breakPending) {
        append(kLineSeparator, group);
    }
    m_cellsPending = 0;
    m_breakPending = false;
    append(c, group);
}

void DocumentBuilder::paragraph(const GroupState& group)
{
    // Inside a table cell a paragraph is a line of that cell.
    if (group.para.inTable) {
        if (!m_runs.empty())
            m_breakPending = true;
        return;
    }
    endParagraph(group);
}

void DocumentBuilder::cell()
{
    ++m_cellsPending;
    m_breakPending = false;
}

void DocumentBuilder::end(const GroupState& group)
{
    if (!m_runs.empty())
        endParagraph(group);
    m_done = true;
}

std::unique_ptr<QTextDocument> DocumentBuilder::finish(const GroupState& group)
{
    if (!m_runs.empty() && m_paragraphs < RtfReader::kMaxParagraphs)
        writeParagraph(group);
    m_cursor.endEditBlock();

    QTextOption option = m_document->defaultTextOption();
    option.setTabStopDistance(m_tabTwips * kPixelsPerTwip);
    m_document->setDefaultTextOption(option);
    m_document->setUndoRedoEnabled(true);
    m_document->setModified(false);
    m_done = true;
    return std::move(m_document);
}

void DocumentBuilder::append(char16_t c, const GroupState& group)
{
    if (m_done)
        return;
    if (m_chars >= RtfReader::kMaxDocumentChars) {
        m_done = true;
        return;
    }
    if (m_paragraphChars >= RtfReader::kMaxParagraphChars) {
        // One paragraph is laid out at once: a very long one goes on in the next.
        endParagraph(group);
        if (m_done)
            return;
    }
    ++m_chars;
    ++m_paragraphChars;
    if (m_runs.empty()) {
        m_runs.push_back({QString(), group.ch});
    } else if (!(m_runs.back().props == group.ch) && m_runs.size() < std::size_t(RtfReader::kMaxParagraphRuns) &&
               m_documentRuns < RtfReader::kMaxDocumentRuns) {
        m_runs.push_back({QString(), group.ch});
        ++m_documentRuns;
    }
    m_runs.back().text.append(QChar(c));
}

void DocumentBuilder::endParagraph(const GroupState& group)
{
    if (m_done)
        return;
    if (m_paragraphs >= RtfReader::kMaxParagraphs || m_chars >= RtfReader::kMaxDocumentChars) {
        m_done = true;
        return;
    }
    writeParagraph(group);
}

void DocumentBuilder::writeParagraph(const GroupState& group)
{
    ++m_paragraphs;
    ++m_chars;
    const QTextBlockFormat block = blockFormat(group.para);
    const QTextCharFormat mark = charFormat(group.ch);
    if (m_firstBlock) {
        m_cursor.setBlockFormat(block);
        m_cursor.setBlockCharFormat(mark);
        m_firstBlock = false;
    } else {
        m_cursor.insertBlock(block, mark);
    }
    for (Run& run : m_runs) {
        replaceLoneSurrogates(run.text);
        m_cursor.insertText(run.text, charFormat(run.props));
    }
    m_runs.clear();
    m_paragraphChars = 0;
    m_cellsPending = 0;
    m_breakPending = false;
}

QTextCharFormat DocumentBuilder::charFormat(const CharProps& p) const
{
    QTextCharFormat format;
    const FontEntry* font = m_fonts.find(p.font);
    if (font && !font->name.isEmpty()) {
        format.setFontFamilies(QStringList{font->name});
        format.setFontStyleHint(font->hint);
    }
    format.setProperty(QTextFormat::FontPixelSize, std::max(1, qRound(p.halfPoints * kPixelsPerHalfPoint)));
    format.setFontWeight(p.has(Style::Bold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(p.has(Style::Italic));
    format.setFontUnderline(p.has(Style::Underline));
    format.setFontStrikeOut(p.has(Style::Strike));
    if (p.script == Script::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (p.script == Script::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);

    if (const auto colour = m_colours.at(p.colour))
        format.setForeground(*colour);
    if (p.highlight > 0) {
        if (const auto colour = m_colours.at(p.highlight))
            format.setBackground(*colour);
    }
    return format;
}

}  // namespace t1::rtf
