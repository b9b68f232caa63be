#include "documents/rtf_words.h"

#include <algorithm>
#include <array>

namespace t1::rtf {

namespace {

struct Entry {
    std::string_view name;
    WordInfo info;
};

constexpr Entry skip(std::string_view name)
{
    return {name, {Word::SkippedDestination}};
}

constexpr Entry word(std::string_view name, Word w)
{
    return {name, {w}};
}

constexpr Entry character(std::string_view name, char16_t c)
{
    return {name, {Word::Character, c}};
}

constexpr char16_t kLineSeparator = 0x2028;

constexpr bool byName(const Entry& a, const Entry& b)
{
    return a.name < b.name;
}

// Sorted by name when compiled, for the binary search below.
constexpr auto kWords = [] {
    std::array words{
        skip("aftncn"),
        word("ansi", Word::Ansi),
        word("ansicpg", Word::AnsiCodePage),
        skip("aftnsep"),
        skip("aftnsepc"),
        skip("annotation"),
        skip("atnauthor"),
        skip("atnid"),
        skip("atnref"),
        skip("atntime"),
        skip("author"),
        word("b", Word::Bold),
        word("bin", Word::Binary),
        word("blue", Word::Blue),
        skip("bkmkend"),
        skip("bkmkstart"),
        character("bullet", 0x2022),
        skip("buptim"),
        word("cb", Word::Highlight),
        word("cell", Word::Cell),
        word("chcbpat", Word::Highlight),
        word("cf", Word::Colour),
        skip("colorschememapping"),
        word("colortbl", Word::ColourTable),
        word("cpg", Word::FontCodePage),
        word("column", Word::Paragraph),
        skip("comment"),
        skip("company"),
        skip("creatim"),
        skip("datafield"),
        skip("datastore"),
        word("deff", Word::DefaultFont),
        word("deftab", Word::DefaultTab),
        word("dn", Word::Down),
        skip("doccomm"),
        skip("docvar"),
        character("emdash", 0x2014),
        character("emspace", 0x2003),
        character("endash", 0x2013),
        character("enspace", 0x2002),
        word("f", Word::Font),
        word("fcharset", Word::FontCharset),
        skip("falt"),
        word("fbidi", Word::FontFamilyOther),
        skip("fchars"),
        word("fdecor", Word::FontFamilyDecor),
        word("fi", Word::FirstIndent),
        skip("file"),
        skip("filetbl"),
        skip("fldinst"),
        word("fmodern", Word::FontFamilyModern),
        word("fnil", Word::FontFamilyOther),
        skip("fontemb"),
        skip("fontfile"),
        word("fonttbl", Word::FontTable),
        skip("footer"),
        skip("footerf"),
        skip("footerl"),
        skip("footerr"),
        skip("footnote"),
        word("froman", Word::FontFamilyRoman),
        word("fs", Word::FontSize),
        word("fscript", Word::FontFamilyScript),
        word("fswiss", Word::FontFamilySwiss),
        skip("ftncn"),
        skip("ftnsep"),
        skip("ftnsepc"),
        word("ftech", Word::FontFamilyOther),
        skip("generator"),
        word("green", Word::Green),
        skip("header"),
        skip("headerf"),
        skip("headerl"),
        skip("headerr"),
        word("highlight", Word::Highlight),
        skip("hlinkbase"),
        word("i", Word::Italic),
        skip("info"),
        word("intbl", Word::InTable),
        skip("keywords"),
        character("ldblquote", 0x201C),
        skip("latentstyles"),
        skip("levelnumbers"),
        skip("leveltext"),
        word("li", Word::LeftIndent),
        character("line", kLineSeparator),
        skip("listoverridetable"),
        skip("listpicture"),
        skip("listtable"),
        character("lquote", 0x2018),
        character("ltrmark", 0x200E),
        skip("manager"),
        skip("mmathPr"),
        word("nestcell", Word::Cell),
        word("nestrow", Word::Row),
        skip("nonesttables"),
        skip("nonshppict"),
        word("nosupersub", Word::NoSuperSub),
        skip("objalias"),
        skip("objclass"),
        skip("objdata"),
        skip("objname"),
        skip("objsect"),
        skip("objtime"),
        skip("operator"),
        word("page", Word::Paragraph),
        skip("panose"),
        word("mac", Word::Mac),
        word("par", Word::Paragraph),
        word("pard", Word::ParagraphDefaults),
        word("pc", Word::Pc),
        word("pca", Word::Pca),
        skip("passwordhash"),
        skip("pgdsctbl"),
        skip("pict"),
        word("plain", Word::Plain),
        skip("pn"),
        skip("pnseclvl"),
        skip("pntxta"),
        skip("pntxtb"),
        skip("printim"),
        skip("private"),
        skip("propname"),
        skip("protusertbl"),
        word("qc", Word::AlignCentre),
        word("qd", Word::AlignJustify),
        word("qj", Word::AlignJustify),
        word("ql", Word::AlignLeft),
        character("qmspace", 0x2005),
        word("qr", Word::AlignRight),
        character("rdblquote", 0x201D),
        word("red", Word::Red),
        skip("revtbl"),
        skip("revtim"),
        word("ri", Word::RightIndent),
        word("row", Word::Row),
        character("rquote", 0x2019),
        skip("rsidtbl"),
        character("rtlmark", 0x200F),
        skip("rxe"),
        word("sa", Word::SpaceAfter),
        word("sb", Word::SpaceBefore),
        word("sect", Word::Paragraph),
        skip("shpinst"),
        word("strike", Word::Strike),
        word("striked", Word::Strike),
        skip("stylesheet"),
        word("sub", Word::Subscript),
        skip("subject"),
        word("super", Word::Superscript),
        character("tab", u'\t'),
        skip("tc"),
        skip("template"),
        skip("themedata"),
        skip("title"),
        word("tx", Word::TabStop),
        skip("txe"),
        word("u", Word::Unicode),
        word("uc", Word::UnicodeSkip),
        word("ul", Word::Underline),
        word("uld", Word::Underline),
        word("uldash", Word::Underline),
        word("uldashd", Word::Underline),
        word("uldashdd", Word::Underline),
        word("uldb", Word::Underline),
        word("ulhwave", Word::Underline),
        word("ulldash", Word::Underline),
        word("ulnone", Word::UnderlineNone),
        word("ulth", Word::Underline),
        word("ulthd", Word::Underline),
        word("ulthdash", Word::Underline),
        word("ulthdashd", Word::Underline),
        word("ulthdashdd", Word::Underline),
        word("ulthldash", Word::Underline),
        word("ululdbwave", Word::Underline),
        word("ulw", Word::Underline),
        word("ulwave", Word::Underline),
        word("up", Word::Up),
        skip("userprops"),
        word("v", Word::Hidden),
        skip("wgrffmtfilter"),
        skip("windowcaption"),
        skip("writereservation"),
        skip("writereservhash"),
        skip("xe"),
        skip("xform"),
        skip("xmlattrname"),
        skip("xmlattrvalue"),
        skip("xmlclose"),
        skip("xmlname"),
        skip("xmlnstbl"),
        skip("xmlopen"),
        character("zwbo", 0x200B),
        character("zwj", 0x200D),
        character("zwnj", 0x200C),
    };
    std::sort(words.begin(), words.end(), byName);
    return words;
}();

static_assert(std::adjacent_find(kWords.begin(), kWords.end(),
                                 [](const Entry& a, const Entry& b) { return a.name == b.name; }) == kWords.end(),
              "each control word once");

}  // namespace

WordInfo lookupWord(std::string_view name)
{
    const auto it = std::lower_bound(kWords.begin(), kWords.end(), Entry{name, {}}, byName);
    if (it == kWords.end() || it->name != name)
        return {};
    return it->info;
}

}  // namespace t1::rtf
