#include "documents/rtf_reader.h"

#include "documents/code_page.h"
#include "documents/rtf_words.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace t1 {

namespace {

using rtf::Word;
using rtf::WordInfo;

// Sizes in a file are in half points (fonts) and twips (distances); the
// document is laid out in pixels at the 96 per inch the program is drawn for.
constexpr double kPixelsPerHalfPoint = 96.0 / 144.0;
constexpr double kPixelsPerTwip = 96.0 / 1440.0;

constexpr int kDefaultHalfPoints = 24;  // 12 pt, where a file starts
constexpr int kDefaultTabTwips = 720;
constexpr int kDefaultUnicodeSkip = 1;
constexpr int kWesternPage = 1252;
// What `\pc`, `\pca` and `\mac` declare.
constexpr int kPcPage = 437;
constexpr int kPcaPage = 850;
constexpr int kMacPage = 10000;

// Bounds that keep an absurd value from building an absurd layout.
constexpr int kMaxHalfPoints = 2 * RtfReader::kMaxPoints;
constexpr int kMaxTwips = 31680;      // 22 inches, the widest page
constexpr int kMaxSpacingTwips = 20 * RtfReader::kMaxPoints;  // as much as a line of the largest size
constexpr int kMaxUnicodeSkip = 255;
constexpr int kMaxTabStops = 32;
constexpr std::size_t kMaxWordLength = 32;
constexpr int kMaxParamDigits = 10;
constexpr int kMaxFontNameLength = 64;
constexpr std::size_t kMaxTableEntries = 4096;
constexpr int kMaxColourComponent = 255;
constexpr int kMaxMarksInRow = 30;

constexpr char16_t kTab = u'\t';
constexpr char16_t kFirstPrintable = 0x20;
constexpr char16_t kDelete = 0x7F;
constexpr char16_t kNoBreakSpace = 0x00A0;
constexpr char16_t kSoftHyphen = 0x00AD;
constexpr char16_t kNoBreakHyphen = 0x2011;
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kReplacement = 0xFFFD;
constexpr int kUtf16Range = 0x10000;
// Characters QTextDocument keeps for its own frames and objects.
constexpr std::array<char16_t, 3> kDocumentMarkers{0xFDD0, 0xFDD1, 0xFFFC};

enum class Destination : std::uint8_t { Text, Skip, FontTable, ColourTable };
enum class Align : std::uint8_t { Left, Centre, Right, Justify };
enum class Script : std::uint8_t { Normal, Super, Sub };

struct CharProps {
    int font = -1;  // -1: the document's default font
    int halfPoints = kDefaultHalfPoints;
    int colour = 0;     // index in the colour table
    int highlight = 0;  // 0: none
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    Script script = Script::Normal;

    bool operator==(const CharProps&) const = default;
};

// Distances in twips.
struct ParaProps {
    Align align = Align::Left;
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    bool inTable = false;
    int tabCount = 0;
    std::array<int, kMaxTabStops> tabs{};
};

struct GroupState {
    CharProps ch;
    ParaProps para;
    Destination dest = Destination::Text;
    int unicodeSkip = kDefaultUnicodeSkip;
};

struct FontEntry {
    QString name;
    QFont::StyleHint hint = QFont::AnyStyle;
    int codePage = 0;  // 0: the document's
};

struct Run {
    QString text;
    CharProps props;
};

int clampParam(long long value, int low, int high)
{
    return int(std::clamp<long long>(value, low, high));
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    constexpr int kTen = 10;
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + kTen;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + kTen;
    return -1;
}

bool isSyntax(char c)
{
    return c == '{' || c == '}' || c == '\\';
}

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

class Parser {
public:
    explicit Parser(QByteArrayView data) : m_data(data.data()), m_size(data.size()) {}

    RtfReader::Result run();

private:
    GroupState& state() { return m_stack.back(); }

    void openGroup();
    void closeGroup();
    void readControl();
    void readWord();
    void controlSymbol(char c);
    void controlWord(WordInfo info, bool hasParam, int param);
    void characterFormat(Word word, bool on, bool hasParam, int param);
    void paragraphFormat(Word word, int param);
    bool skipFallback();
    void putByte(unsigned char byte);
    void dropLeadByte();
    const CodePage* currentPage();
    void putChar(char16_t c);
    void putText(char16_t c);
    void append(char16_t c);
    void commitFont();
    void commitColour();
    void paragraphBreak();
    void endParagraph();
    void writeParagraph();
    void stop();
    QTextCharFormat charFormat(const CharProps& p) const;
    QTextBlockFormat blockFormat(const ParaProps& p) const;

    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    bool m_done = false;

    // The bottom entry is the state outside the document's group.
    std::vector<GroupState> m_stack{GroupState{}};
    int m_overflowDepth = 0;
    int m_fallbackLeft = 0;  // characters still to skip after a `\u`

    QHash<int, FontEntry> m_fonts;
    int m_defaultFont = 0;
    int m_fontNumber = 0;
    FontEntry m_fontEntry;

    std::vector<std::optional<QColor>> m_colours;
    std::array<int, 3> m_rgb{};
    bool m_rgbGiven = false;

    int m_tabTwips = kDefaultTabTwips;

    int m_documentPage = kWesternPage;
    std::map<int, std::unique_ptr<CodePage>> m_pages;  // null: cannot be decoded
    int m_unsupportedPage = 0;
    int m_leadByte = -1;  // the first byte of a pair, waiting for the second

    std::unique_ptr<QTextDocument> m_document;
    QTextCursor m_cursor;
    bool m_firstBlock = true;
    std::vector<Run> m_runs;  // the paragraph being read
    int m_cellsPending = 0;   // cells closed since the paragraph's last text
    bool m_breakPending = false;
    int m_chars = 0;
    int m_paragraphs = 0;
    int m_paragraphChars = 0;
    int m_documentRuns = 0;
    int m_marksInRow = 0;
};

RtfReader::Result Parser::run()
{
    RtfReader::Result result;
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (QByteArrayView(m_data, m_size).startsWith(QByteArrayView(kBom.data(), qsizetype(kBom.size()))))
        m_pos = qsizetype(kBom.size());
    while (m_pos < m_size && std::string_view(" \t\r\n\f\v").find(m_data[m_pos]) != std::string_view::npos)
        ++m_pos;
    if (m_pos == m_size) {
        result.problem = RtfReader::Problem::Empty;
        return result;
    }
    if (!QByteArrayView(m_data + m_pos, m_size - m_pos).startsWith("{\\rtf")) {
        result.problem = RtfReader::Problem::NotRtf;
        return result;
    }

    m_document = std::make_unique<QTextDocument>();
    m_document->setUndoRedoEnabled(false);
    m_cursor = QTextCursor(m_document.get());
    // One edit for the whole build: otherwise each run inserted updates the
    // document again, and a paragraph of many runs takes quadratic time.
    m_cursor.beginEditBlock();

    int controls = 0;
    while (m_pos < m_size && !m_done) {
        const char c = m_data[m_pos++];
        if (isSyntax(c) && ++controls > RtfReader::kMaxControls)
            break;
        switch (c) {
        case '{':
            dropLeadByte();
            openGroup();
            break;
        case '}':
            dropLeadByte();
            closeGroup();
            break;
        case '\\':
            readControl();
            break;
        case '\r':
        case '\n':
            break;  // line ends in the file are not text, even inside a pair of bytes
        default:
            if (state().dest == Destination::Skip && m_fallbackLeft == 0) {
                // Pictures and other data: most of a large file, none of it shown.
                while (m_pos < m_size && !isSyntax(m_data[m_pos]))
                    ++m_pos;
            } else if (!skipFallback()) {
                putByte(static_cast<unsigned char>(c));
            }
            break;
        }
    }
    dropLeadByte();
    if (!m_runs.empty() && m_paragraphs < RtfReader::kMaxParagraphs)
        writeParagraph();
    m_cursor.endEditBlock();

    QTextOption option = m_document->defaultTextOption();
    option.setTabStopDistance(m_tabTwips * kPixelsPerTwip);
    m_document->setDefaultTextOption(option);
    m_document->setUndoRedoEnabled(true);
    m_document->setModified(false);
    result.document = std::move(m_document);
    result.unsupportedCodePage = m_unsupportedPage;
    return result;
}

void Parser::stop()
{
    m_done = true;
}

void Parser::openGroup()
{
    m_fallbackLeft = 0;
    // The bottom entry does not count as a group.
    if (m_stack.size() <= std::size_t(RtfReader::kMaxGroupDepth))
        m_stack.push_back(m_stack.back());
    else
        ++m_overflowDepth;
}

void Parser::closeGroup()
{
    m_fallbackLeft = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (state().dest == Destination::FontTable && !m_fontEntry.name.isEmpty())
        commitFont();  // an entry without its closing semicolon
    if (m_stack.size() == 2) {
        // The document's own group: what follows it is not part of it.
        if (!m_runs.empty())
            endParagraph();
        m_done = true;
    }
    if (m_stack.size() > 1)
        m_stack.pop_back();
}

void Parser::readControl()
{
    if (m_pos >= m_size)
        return;
    const char c = m_data[m_pos];
    if (c != '\'')
        dropLeadByte();
    if (isLetter(c)) {
        readWord();
        return;
    }
    ++m_pos;
    controlSymbol(c);
}

// A control word: letters, an optional signed number, and one space that
// only ends the word.
void Parser::readWord()
{
    const qsizetype start = m_pos;
    while (m_pos < m_size && isLetter(m_data[m_pos]))
        ++m_pos;
    const std::size_t length = std::size_t(m_pos - start);

    bool negative = false;
    if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    bool hasParam = false;
    long long value = 0;
    for (int digits = 0; m_pos < m_size && isDigit(m_data[m_pos]); ++digits, ++m_pos) {
        if (digits < kMaxParamDigits)
            value = value * 10 + (m_data[m_pos] - '0');
        hasParam = true;
    }
    if (m_pos < m_size && m_data[m_pos] == ' ')
        ++m_pos;

    const int param = clampParam(negative ? -value : value, INT_MIN, INT_MAX);
    const WordInfo info = length <= kMaxWordLength ? rtf::lookupWord({m_data + start, length}) : WordInfo{};
    controlWord(info, hasParam, param);
}

void Parser::controlSymbol(char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        if (!skipFallback())
            putChar(char16_t(c));
        break;
    case '~':
        if (!skipFallback())
            putChar(kNoBreakSpace);
        break;
    case '-':
        if (!skipFallback())
            putChar(kSoftHyphen);
        break;
    case '_':
        if (!skipFallback())
            putChar(kNoBreakHyphen);
        break;
    case '*':
        // A destination that a reader may ignore: we show none of them.
        state().dest = Destination::Skip;
        break;
    case '\'': {
        constexpr int kHexDigits = 2;
        constexpr int kRadix = 16;
        int byte = 0;
        int digits = 0;
        while (digits < kHexDigits && m_pos < m_size && hexValue(m_data[m_pos]) >= 0) {
            byte = byte * kRadix + hexValue(m_data[m_pos]);
            ++m_pos;
            ++digits;
        }
        if (digits > 0 && !skipFallback())
            putByte(static_cast<unsigned char>(byte));
        break;
    }
    case '\r':
    case '\n':
        paragraphBreak();
        break;
    default:
        break;  // other symbols (formula, index entries) show nothing
    }
}

void Parser::controlWord(WordInfo info, bool hasParam, int param)
{
    GroupState& st = state();
    if (st.dest == Destination::Skip && info.word != Word::Binary)
        return;
    const bool on = !hasParam || param != 0;

    switch (info.word) {
    case Word::Unknown:
        break;
    case Word::SkippedDestination:
        st.dest = Destination::Skip;
        break;
    case Word::FontTable:
        st.dest = Destination::FontTable;
        m_fontEntry = {};
        break;
    case Word::ColourTable:
        st.dest = Destination::ColourTable;
        m_rgb = {};
        m_rgbGiven = false;
        break;
    case Word::DefaultFont:
        m_defaultFont = param;
        break;
    case Word::DefaultTab:
        if (param > 0)
            m_tabTwips = std::min(param, kMaxTwips);
        break;
    case Word::UnicodeSkip:
        st.unicodeSkip = std::clamp(param, 0, kMaxUnicodeSkip);
        break;
    case Word::Unicode:
        if (hasParam) {
            const int unit = param < 0 ? param + kUtf16Range : param;
            putChar(unit >= 0 && unit < kUtf16Range ? char16_t(unit) : kReplacement);
            m_fallbackLeft = st.unicodeSkip;
        }
        break;
    case Word::Binary:
        // Raw bytes follow; they are data, never text.
        if (hasParam && param > 0) {
            if (param > m_size - m_pos)
                m_pos = m_size;
            else
                m_pos += param;
        }
        skipFallback();
        break;
    case Word::Ansi:
        m_documentPage = kWesternPage;
        break;
    case Word::AnsiCodePage:
        // 0 is what some writers put for "the system's": read as Western.
        m_documentPage = param > 0 ? param : kWesternPage;
        break;
    case Word::Pc:
        m_documentPage = kPcPage;
        break;
    case Word::Pca:
        m_documentPage = kPcaPage;
        break;
    case Word::Mac:
        m_documentPage = kMacPage;
        break;
    case Word::FontCharset:
        if (st.dest == Destination::FontTable && m_fontEntry.codePage == 0)
            m_fontEntry.codePage = CodePage::ofCharset(param);
        break;
    case Word::FontCodePage:
        if (st.dest == Destination::FontTable && param > 0)
            m_fontEntry.codePage = param;
        break;
    case Word::Font:
        if (st.dest == Destination::FontTable) {
            m_fontEntry = {};
            m_fontNumber = param;
        } else {
            st.ch.font = param;
        }
        break;
    case Word::FontFamilyRoman:
        m_fontEntry.hint = QFont::Serif;
        break;
    case Word::FontFamilySwiss:
        m_fontEntry.hint = QFont::SansSerif;
        break;
    case Word::FontFamilyModern:
        m_fontEntry.hint = QFont::TypeWriter;
        break;
    case Word::FontFamilyScript:
        m_fontEntry.hint = QFont::Cursive;
        break;
    case Word::FontFamilyDecor:
        m_fontEntry.hint = QFont::Decorative;
        break;
    case Word::FontFamilyOther:
        m_fontEntry.hint = QFont::AnyStyle;
        break;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (st.dest == Destination::ColourTable) {
            m_rgb[std::size_t(int(info.word) - int(Word::Red))] = std::clamp(param, 0, kMaxColourComponent);
            m_rgbGiven = true;
        }
        break;
    case Word::Paragraph:
        paragraphBreak();
        break;
    case Word::Cell:
        if (st.dest == Destination::Text) {
            ++m_cellsPending;
            m_breakPending = false;
        }
        break;
    case Word::Row:
        if (st.dest == Destination::Text)
            endParagraph();
        break;
    case Word::Character:
        if (!skipFallback())
            putChar(info.character);
        break;
    case Word::ParagraphDefaults:
    case Word::AlignLeft:
    case Word::AlignCentre:
    case Word::AlignRight:
    case Word::AlignJustify:
    case Word::LeftIndent:
    case Word::RightIndent:
    case Word::FirstIndent:
    case Word::SpaceBefore:
    case Word::SpaceAfter:
    case Word::TabStop:
    case Word::InTable:
        paragraphFormat(info.word, param);
        break;
    default:
        characterFormat(info.word, on, hasParam, param);
        break;
    }
}

void Parser::characterFormat(Word word, bool on, bool hasParam, int param)
{
    CharProps& ch = state().ch;
    switch (word) {
    case Word::Plain:
        ch = CharProps{};
        break;
    case Word::Bold:
        ch.bold = on;
        break;
    case Word::Italic:
        ch.italic = on;
        break;
    case Word::Underline:
        ch.underline = on;
        break;
    case Word::UnderlineNone:
        ch.underline = false;
        break;
    case Word::Strike:
        ch.strike = on;
        break;
    case Word::Hidden:
        ch.hidden = on;
        break;
    case Word::FontSize:
        ch.halfPoints = param > 0 ? std::min(param, kMaxHalfPoints) : kDefaultHalfPoints;
        break;
    case Word::Colour:
        ch.colour = std::max(param, 0);
        break;
    case Word::Highlight:
        ch.highlight = std::max(param, 0);
        break;
    case Word::Subscript:
        ch.script = Script::Sub;
        break;
    case Word::Superscript:
        ch.script = Script::Super;
        break;
    case Word::NoSuperSub:
        ch.script = Script::Normal;
        break;
    case Word::Down:
        ch.script = hasParam && param == 0 ? Script::Normal : Script::Sub;
        break;
    case Word::Up:
        ch.script = hasParam && param == 0 ? Script::Normal : Script::Super;
        break;
    default:
        break;
    }
}

void Parser::paragraphFormat(Word word, int param)
{
    ParaProps& para = state().para;
    const int distance = std::clamp(param, 0, kMaxTwips);
    switch (word) {
    case Word::ParagraphDefaults:
        para = ParaProps{};
        break;
    case Word::AlignLeft:
        para.align = Align::Left;
        break;
    case Word::AlignCentre:
        para.align = Align::Centre;
        break;
    case Word::AlignRight:
        para.align = Align::Right;
        break;
    case Word::AlignJustify:
        para.align = Align::Justify;
        break;
    case Word::LeftIndent:
        para.left = distance;
        break;
    case Word::RightIndent:
        para.right = distance;
        break;
    case Word::FirstIndent:
        para.first = std::clamp(param, -kMaxTwips, kMaxTwips);
        break;
    case Word::SpaceBefore:
        para.before = std::min(distance, kMaxSpacingTwips);
        break;
    case Word::SpaceAfter:
        para.after = std::min(distance, kMaxSpacingTwips);
        break;
    case Word::TabStop:
        if (para.tabCount < kMaxTabStops)
            para.tabs[std::size_t(para.tabCount++)] = distance;
        break;
    case Word::InTable:
        para.inTable = true;
        break;
    default:
        break;
    }
}

bool Parser::skipFallback()
{
    if (m_fallbackLeft == 0)
        return false;
    --m_fallbackLeft;
    return true;
}

// A byte of 8-bit text, in the code page of the current font or else of
// the document.
void Parser::putByte(unsigned char byte)
{
    if (m_leadByte >= 0) {
        const auto lead = static_cast<unsigned char>(m_leadByte);
        m_leadByte = -1;
        const CodePage* page = currentPage();
        const QString text = page ? page->pair(lead, byte) : QString();
        if (text.isEmpty())
            putChar(kReplacement);
        for (const QChar c : text)
            putChar(c.unicode());
        return;
    }
    if (byte < CodePage::kFirstHigh) {
        putChar(byte);
        return;
    }
    if (state().dest == Destination::Skip)
        return;
    const CodePage* page = currentPage();
    if (!page) {
        putChar(kReplacement);
        return;
    }
    const char16_t c = page->character(byte);
    if (c == CodePage::kLeadByte)
        m_leadByte = byte;
    else
        putChar(c);
}

// The first byte of a pair followed by something else than its second.
void Parser::dropLeadByte()
{
    if (m_leadByte < 0)
        return;
    m_leadByte = -1;
    putChar(kReplacement);
}

const CodePage* Parser::currentPage()
{
    int number = m_documentPage;
    if (state().dest == Destination::FontTable) {
        if (m_fontEntry.codePage > 0)
            number = m_fontEntry.codePage;
    } else {
        const auto font = m_fonts.constFind(state().ch.font >= 0 ? state().ch.font : m_defaultFont);
        if (font != m_fonts.constEnd() && font->codePage > 0)
            number = font->codePage;
    }
    auto page = m_pages.find(number);
    if (page == m_pages.end())
        page = m_pages.emplace(number, CodePage::open(number)).first;
    if (!page->second && m_unsupportedPage == 0)
        m_unsupportedPage = number;
    return page->second.get();
}

void Parser::putChar(char16_t c)
{
    switch (state().dest) {
    case Destination::Skip:
        return;
    case Destination::FontTable:
        if (c == u';')
            commitFont();
        else if (c >= kFirstPrintable && m_fontEntry.name.size() < kMaxFontNameLength)
            m_fontEntry.name.append(QChar(c));
        return;
    case Destination::ColourTable:
        if (c == u';')
            commitColour();
        return;
    case Destination::Text:
        putText(c);
        return;
    }
}

void Parser::putText(char16_t c)
{
    if (state().ch.hidden || (c < kFirstPrintable && c != kTab) || c == kDelete)
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
            append(kTab);
    } else if (m_breakPending) {
        append(kLineSeparator);
    }
    m_cellsPending = 0;
    m_breakPending = false;
    append(c);
}

void Parser::append(char16_t c)
{
    if (m_done)
        return;
    if (m_chars >= RtfReader::kMaxDocumentChars) {
        stop();
        return;
    }
    if (m_paragraphChars >= RtfReader::kMaxParagraphChars) {
        // One paragraph is laid out at once: a very long one goes on in the next.
        endParagraph();
        if (m_done)
            return;
    }
    ++m_chars;
    ++m_paragraphChars;
    const CharProps& props = state().ch;
    if (m_runs.empty()) {
        m_runs.push_back({QString(), props});
    } else if (!(m_runs.back().props == props) && m_runs.size() < std::size_t(RtfReader::kMaxParagraphRuns) &&
               m_documentRuns < RtfReader::kMaxDocumentRuns) {
        m_runs.push_back({QString(), props});
        ++m_documentRuns;
    }
    m_runs.back().text.append(QChar(c));
}

void Parser::commitFont()
{
    if (m_fonts.size() < qsizetype(kMaxTableEntries) || m_fonts.contains(m_fontNumber)) {
        m_fontEntry.name = m_fontEntry.name.trimmed();
        m_fonts.insert(m_fontNumber, m_fontEntry);
    }
    m_fontEntry = {};
}

void Parser::commitColour()
{
    if (m_colours.size() < kMaxTableEntries) {
        if (m_rgbGiven)
            m_colours.emplace_back(QColor(m_rgb[0], m_rgb[1], m_rgb[2]));
        else
            m_colours.emplace_back(std::nullopt);  // the automatic colour
    }
    m_rgb = {};
    m_rgbGiven = false;
}

void Parser::paragraphBreak()
{
    if (state().dest != Destination::Text)
        return;
    // Inside a table cell a paragraph is a line of that cell.
    if (state().para.inTable) {
        if (!m_runs.empty())
            m_breakPending = true;
        return;
    }
    endParagraph();
}

void Parser::endParagraph()
{
    if (m_done)
        return;
    if (m_paragraphs >= RtfReader::kMaxParagraphs || m_chars >= RtfReader::kMaxDocumentChars) {
        stop();
        return;
    }
    writeParagraph();
}

void Parser::writeParagraph()
{
    ++m_paragraphs;
    ++m_chars;
    const QTextBlockFormat block = blockFormat(state().para);
    const QTextCharFormat mark = charFormat(state().ch);
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

QTextCharFormat Parser::charFormat(const CharProps& p) const
{
    QTextCharFormat format;
    const auto font = m_fonts.constFind(p.font >= 0 ? p.font : m_defaultFont);
    if (font != m_fonts.constEnd() && !font->name.isEmpty()) {
        format.setFontFamilies(QStringList{font->name});
        format.setFontStyleHint(font->hint);
    }
    format.setProperty(QTextFormat::FontPixelSize, std::max(1, qRound(p.halfPoints * kPixelsPerHalfPoint)));
    format.setFontWeight(p.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(p.italic);
    format.setFontUnderline(p.underline);
    format.setFontStrikeOut(p.strike);
    if (p.script == Script::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (p.script == Script::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);

    const auto colourAt = [this](int index) -> std::optional<QColor> {
        if (index < 0 || std::size_t(index) >= m_colours.size())
            return std::nullopt;
        return m_colours[std::size_t(index)];
    };
    if (const auto colour = colourAt(p.colour))
        format.setForeground(*colour);
    if (p.highlight > 0) {
        if (const auto colour = colourAt(p.highlight))
            format.setBackground(*colour);
    }
    return format;
}

QTextBlockFormat Parser::blockFormat(const ParaProps& p) const
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

RtfReader::Result RtfReader::read(QByteArrayView data)
{
    return Parser(data).run();
}

}  // namespace t1
