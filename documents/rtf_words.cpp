#include "documents/rtf_words.h"

#include "documents/rtf_parser.h"

#include <QFont>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace t1::rtf {

namespace {

// Bounds that keep an absurd value from building an absurd layout.
constexpr int kMaxHalfPoints = 2 * RtfReader::kMaxPoints;
constexpr int kMaxTwips = 31680;                              // 22 inches, the widest page
constexpr int kMaxSpacingTwips = 20 * RtfReader::kMaxPoints;  // as much as a line of the largest size
constexpr int kMaxUnicodeSkip = 255;

// What `\pc`, `\pca` and `\mac` declare.
constexpr int kPcPage = 437;
constexpr int kPcaPage = 850;
constexpr int kMacPage = 10000;

constexpr int kUtf16Range = 0x10000;
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kNoBreakSpace = 0x00A0;
constexpr char16_t kSoftHyphen = 0x00AD;
constexpr char16_t kNoBreakHyphen = 0x2011;

int distance(int twips)
{
    return std::clamp(twips, 0, kMaxTwips);
}

// Destinations.

void skipDestination(Parser& p, const Control&)
{
    p.groups.top().dest = Destination::Skip;
}

void fontTable(Parser& p, const Control&)
{
    p.groups.top().dest = Destination::FontTable;
    p.fonts.begin();
}

void colourTable(Parser& p, const Control&)
{
    p.groups.top().dest = Destination::ColourTable;
    p.colours.begin();
}

// The document.

void documentPage(Parser& p, const Control& c)
{
    p.pages.setDocumentPage(c.argument);
}

void ansiCodePage(Parser& p, const Control& c)
{
    // 0 is what some writers put for "the system's": read as Western.
    p.pages.setDocumentPage(c.param > 0 ? c.param : CodePages::kWestern);
}

void defaultFont(Parser& p, const Control& c)
{
    p.fonts.setDefault(c.param);
}

void defaultTab(Parser& p, const Control& c)
{
    if (c.param > 0)
        p.builder.setDefaultTab(std::min(c.param, kMaxTwips));
}

void unicodeSkip(Parser& p, const Control& c)
{
    p.groups.top().unicodeSkip = std::clamp(c.param, 0, kMaxUnicodeSkip);
}

void unicode(Parser& p, const Control& c)
{
    if (!c.hasParam)
        return;
    const int unit = c.param < 0 ? c.param + kUtf16Range : c.param;
    p.put(unit >= 0 && unit < kUtf16Range ? char16_t(unit) : CodePages::kReplacement);
    p.groups.startFallback();
}

// Raw bytes follow; they are data, never text.
void binary(Parser& p, const Control& c)
{
    if (c.hasParam && c.param > 0)
        p.lexer.skip(c.param);
    p.groups.skipFallback();
}

// Text and breaks.

void character(Parser& p, const Control& c)
{
    if (!p.groups.skipFallback())
        p.put(char16_t(c.argument));
}

void paragraph(Parser& p, const Control&)
{
    p.builder.paragraph(p.groups.top());
}

void cell(Parser& p, const Control&)
{
    p.builder.cell();
}

void row(Parser& p, const Control&)
{
    p.builder.row(p.groups.top());
}

// Character formatting.

void plain(Parser& p, const Control&)
{
    p.groups.top().ch = CharProps{};
}

void style(Parser& p, const Control& c)
{
    p.groups.top().ch.set(Style(c.argument), c.on());
}

void styleOff(Parser& p, const Control& c)
{
    p.groups.top().ch.set(Style(c.argument), false);
}

void font(Parser& p, const Control& c)
{
    if (p.groups.top().dest == Destination::FontTable)
        p.fonts.startEntry(c.param);
    else
        p.groups.top().ch.font = c.param;
}

void fontSize(Parser& p, const Control& c)
{
    p.groups.top().ch.halfPoints = c.param > 0 ? std::min(c.param, kMaxHalfPoints) : kDefaultHalfPoints;
}

void colour(Parser& p, const Control& c)
{
    p.groups.top().ch.colour = std::max(c.param, 0);
}

void highlight(Parser& p, const Control& c)
{
    p.groups.top().ch.highlight = std::max(c.param, 0);
}

void script(Parser& p, const Control& c)
{
    p.groups.top().ch.script = Script(c.argument);
}

// `\dn` and `\up`: a number of half points that we do not follow, 0 for none.
void shift(Parser& p, const Control& c)
{
    p.groups.top().ch.script = c.hasParam && c.param == 0 ? Script::Normal : Script(c.argument);
}

// Paragraph formatting.

void paragraphDefaults(Parser& p, const Control&)
{
    p.groups.top().para = ParaProps{};
}

void align(Parser& p, const Control& c)
{
    p.groups.top().para.align = Align(c.argument);
}

void leftIndent(Parser& p, const Control& c)
{
    p.groups.top().para.left = distance(c.param);
}

void rightIndent(Parser& p, const Control& c)
{
    p.groups.top().para.right = distance(c.param);
}

void firstIndent(Parser& p, const Control& c)
{
    p.groups.top().para.first = std::clamp(c.param, -kMaxTwips, kMaxTwips);
}

void spaceBefore(Parser& p, const Control& c)
{
    p.groups.top().para.before = std::min(distance(c.param), kMaxSpacingTwips);
}

void spaceAfter(Parser& p, const Control& c)
{
    p.groups.top().para.after = std::min(distance(c.param), kMaxSpacingTwips);
}

void tabStop(Parser& p, const Control& c)
{
    ParaProps& para = p.groups.top().para;
    if (para.tabCount < kMaxTabStops)
        para.tabs[std::size_t(para.tabCount++)] = distance(c.param);
}

void inTable(Parser& p, const Control&)
{
    p.groups.top().para.inTable = true;
}

// Font and colour table entries.

void fontFamily(Parser& p, const Control& c)
{
    p.fonts.entry().hint = QFont::StyleHint(c.argument);
}

void fontCharset(Parser& p, const Control& c)
{
    FontEntry& entry = p.fonts.entry();
    if (entry.codePage == 0)
        entry.codePage = CodePage::ofCharset(c.param);
}

void fontCodePage(Parser& p, const Control& c)
{
    if (c.param > 0)
        p.fonts.entry().codePage = c.param;
}

void colourComponent(Parser& p, const Control& c)
{
    p.colours.setComponent(c.argument, c.param);
}

// Every word the reader acts on; any other is ignored. In a skipped
// destination only the rows that say so act.
constexpr Row kRows[]{
    // Control symbols.
    {"\\", character, u'\\'},
    {"{", character, u'{'},
    {"}", character, u'}'},
    {"~", character, kNoBreakSpace},
    {"-", character, kSoftHyphen},
    {"_", character, kNoBreakHyphen},
    // A destination that a reader may ignore: we show none of them.
    {"*", skipDestination},
    // A backslash before a line end.
    {"\r", paragraph, Where::Text},
    {"\n", paragraph, Where::Text},
    // Control words.
    {"aftncn", skipDestination},
    {"ansi", documentPage, CodePages::kWestern},
    {"ansicpg", ansiCodePage},
    {"aftnsep", skipDestination},
    {"aftnsepc", skipDestination},
    {"annotation", skipDestination},
    {"atnauthor", skipDestination},
    {"atnid", skipDestination},
    {"atnref", skipDestination},
    {"atntime", skipDestination},
    {"author", skipDestination},
    {"b", style, Style::Bold},
    {"bin", binary, Where::Anywhere},
    {"blue", colourComponent, 2, Where::ColourTable},
    {"bkmkend", skipDestination},
    {"bkmkstart", skipDestination},
    {"bullet", character, 0x2022},
    {"buptim", skipDestination},
    {"cb", highlight},
    {"cell", cell, Where::Text},
    {"chcbpat", highlight},
    {"cf", colour},
    {"colorschememapping", skipDestination},
    {"colortbl", colourTable},
    {"cpg", fontCodePage, Where::FontTable},
    {"column", paragraph, Where::Text},
    {"comment", skipDestination},
    {"company", skipDestination},
    {"creatim", skipDestination},
    {"datafield", skipDestination},
    {"datastore", skipDestination},
    {"deff", defaultFont},
    {"deftab", defaultTab},
    {"dn", shift, Script::Sub},
    {"doccomm", skipDestination},
    {"docvar", skipDestination},
    {"emdash", character, 0x2014},
    {"emspace", character, 0x2003},
    {"endash", character, 0x2013},
    {"enspace", character, 0x2002},
    {"f", font},
    {"fcharset", fontCharset, Where::FontTable},
    {"falt", skipDestination},
    {"fbidi", fontFamily, QFont::AnyStyle},
    {"fchars", skipDestination},
    {"fdecor", fontFamily, QFont::Decorative},
    {"fi", firstIndent},
    {"file", skipDestination},
    {"filetbl", skipDestination},
    {"fldinst", skipDestination},
    {"fmodern", fontFamily, QFont::TypeWriter},
    {"fnil", fontFamily, QFont::AnyStyle},
    {"fontemb", skipDestination},
    {"fontfile", skipDestination},
    {"fonttbl", fontTable},
    {"footer", skipDestination},
    {"footerf", skipDestination},
    {"footerl", skipDestination},
    {"footerr", skipDestination},
    {"footnote", skipDestination},
    {"froman", fontFamily, QFont::Serif},
    {"fs", fontSize},
    {"fscript", fontFamily, QFont::Cursive},
    {"fswiss", fontFamily, QFont::SansSerif},
    {"ftncn", skipDestination},
    {"ftnsep", skipDestination},
    {"ftnsepc", skipDestination},
    {"ftech", fontFamily, QFont::AnyStyle},
    {"generator", skipDestination},
    {"green", colourComponent, 1, Where::ColourTable},
    {"header", skipDestination},
    {"headerf", skipDestination},
    {"headerl", skipDestination},
    {"headerr", skipDestination},
    {"highlight", highlight},
    {"hlinkbase", skipDestination},
    {"i", style, Style::Italic},
    {"info", skipDestination},
    {"intbl", inTable},
    {"keywords", skipDestination},
    {"ldblquote", character, 0x201C},
    {"latentstyles", skipDestination},
    {"levelnumbers", skipDestination},
    {"leveltext", skipDestination},
    {"li", leftIndent},
    {"line", character, kLineSeparator},
    {"listoverridetable", skipDestination},
    {"listpicture", skipDestination},
    {"listtable", skipDestination},
    {"lquote", character, 0x2018},
    {"ltrmark", character, 0x200E},
    {"manager", skipDestination},
    {"mmathPr", skipDestination},
    {"nestcell", cell, Where::Text},
    {"nestrow", row, Where::Text},
    {"nonesttables", skipDestination},
    {"nonshppict", skipDestination},
    {"nosupersub", script, Script::Normal},
    {"objalias", skipDestination},
    {"objclass", skipDestination},
    {"objdata", skipDestination},
    {"objname", skipDestination},
    {"objsect", skipDestination},
    {"objtime", skipDestination},
    {"operator", skipDestination},
    {"page", paragraph, Where::Text},
    {"panose", skipDestination},
    {"mac", documentPage, kMacPage},
    {"par", paragraph, Where::Text},
    {"pard", paragraphDefaults},
    {"pc", documentPage, kPcPage},
    {"pca", documentPage, kPcaPage},
    {"passwordhash", skipDestination},
    {"pgdsctbl", skipDestination},
    {"pict", skipDestination},
    {"plain", plain},
    {"pn", skipDestination},
    {"pnseclvl", skipDestination},
    {"pntxta", skipDestination},
    {"pntxtb", skipDestination},
    {"printim", skipDestination},
    {"private", skipDestination},
    {"propname", skipDestination},
    {"protusertbl", skipDestination},
    {"qc", align, Align::Centre},
    {"qd", align, Align::Justify},
    {"qj", align, Align::Justify},
    {"ql", align, Align::Left},
    {"qmspace", character, 0x2005},
    {"qr", align, Align::Right},
    {"rdblquote", character, 0x201D},
    {"red", colourComponent, 0, Where::ColourTable},
    {"revtbl", skipDestination},
    {"revtim", skipDestination},
    {"ri", rightIndent},
    {"row", row, Where::Text},
    {"rquote", character, 0x2019},
    {"rsidtbl", skipDestination},
    {"rtlmark", character, 0x200F},
    {"rxe", skipDestination},
    {"sa", spaceAfter},
    {"sb", spaceBefore},
    {"sect", paragraph, Where::Text},
    {"shpinst", skipDestination},
    {"strike", style, Style::Strike},
    {"striked", style, Style::Strike},
    {"stylesheet", skipDestination},
    {"sub", script, Script::Sub},
    {"subject", skipDestination},
    {"super", script, Script::Super},
    {"tab", character, u'\t'},
    {"tc", skipDestination},
    {"template", skipDestination},
    {"themedata", skipDestination},
    {"title", skipDestination},
    {"tx", tabStop},
    {"txe", skipDestination},
    {"u", unicode},
    {"uc", unicodeSkip},
    {"ul", style, Style::Underline},
    {"uld", style, Style::Underline},
    {"uldash", style, Style::Underline},
    {"uldashd", style, Style::Underline},
    {"uldashdd", style, Style::Underline},
    {"uldb", style, Style::Underline},
    {"ulhwave", style, Style::Underline},
    {"ulldash", style, Style::Underline},
    {"ulnone", styleOff, Style::Underline},
    {"ulth", style, Style::Underline},
    {"ulthd", style, Style::Underline},
    {"ulthdash", style, Style::Underline},
    {"ulthdashd", style, Style::Underline},
    {"ulthdashdd", style, Style::Underline},
    {"ulthldash", style, Style::Underline},
    {"ululdbwave", style, Style::Underline},
    {"ulw", style, Style::Underline},
    {"ulwave", style, Style::Underline},
    {"up", shift, Script::Super},
    {"userprops", skipDestination},
    {"v", style, Style::Hidden},
    {"wgrffmtfilter", skipDestination},
    {"windowcaption", skipDestination},
    {"writereservation", skipDestination},
    {"writereservhash", skipDestination},
    {"xe", skipDestination},
    {"xform", skipDestination},
    {"xmlattrname", skipDestination},
    {"xmlattrvalue", skipDestination},
    {"xmlclose", skipDestination},
    {"xmlname", skipDestination},
    {"xmlnstbl", skipDestination},
    {"xmlopen", skipDestination},
    {"zwbo", character, 0x200B},
    {"zwj", character, 0x200D},
    {"zwnj", character, 0x200C},
};

// Where each row is found: open addressing on a hash of its name, built
// when compiled. A power of two, at least twice the rows.
constexpr std::size_t kSlots = 512;
static_assert(kSlots >= 2 * std::size(kRows) && (kSlots & (kSlots - 1)) == 0);

constexpr std::size_t slotOf(std::string_view name)
{
    constexpr std::uint32_t kBasis = 2166136261U;  // FNV-1a
    constexpr std::uint32_t kPrime = 16777619U;
    std::uint32_t hash = kBasis;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * kPrime;
    return hash & (kSlots - 1);
}

constexpr std::size_t nextSlot(std::size_t slot)
{
    return (slot + 1) & (kSlots - 1);
}

constexpr std::int16_t kEmpty = -1;

constexpr auto kSlotRows = [] {
    std::array<std::int16_t, kSlots> rows{};
    rows.fill(kEmpty);
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        std::size_t slot = slotOf(kRows[i].name);
        for (; rows[slot] != kEmpty; slot = nextSlot(slot)) {
            if (kRows[std::size_t(rows[slot])].name == kRows[i].name)
                throw "each control word once";
        }
        rows[slot] = std::int16_t(i);
    }
    return rows;
}();

}  // namespace

const Row* findWord(std::string_view name)
{
    for (std::size_t slot = slotOf(name); kSlotRows[slot] != kEmpty; slot = nextSlot(slot)) {
        const Row& row = kRows[std::size_t(kSlotRows[slot])];
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

std::span<const Row> words()
{
    return kRows;
}

}  // namespace t1::rtf
