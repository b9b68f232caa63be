#include "documents/code_page.h"

#include "documents/cp1252.h"

#include <QByteArray>
#include <QStringDecoder>

#include <algorithm>

namespace t1 {

namespace {

struct KnownPage {
    int number;
    const char* name;  // as the system's converters (ICU) name it
};

// The pages word processors declare. 1252 is built in; the others are
// decoded by the converters Qt is built with.
constexpr std::array kPages{
    KnownPage{437, "IBM437"},         KnownPage{850, "IBM850"},          KnownPage{852, "IBM852"},
    KnownPage{857, "IBM857"},         KnownPage{860, "IBM860"},          KnownPage{863, "IBM863"},
    KnownPage{865, "IBM865"},         KnownPage{866, "IBM866"},          KnownPage{874, "windows-874"},
    KnownPage{932, "windows-31j"},    KnownPage{936, "GBK"},             KnownPage{949, "windows-949"},
    KnownPage{950, "windows-950"},    KnownPage{1250, "windows-1250"},   KnownPage{1251, "windows-1251"},
    KnownPage{1253, "windows-1253"},  KnownPage{1254, "windows-1254"},   KnownPage{1255, "windows-1255"},
    KnownPage{1256, "windows-1256"},  KnownPage{1257, "windows-1257"},   KnownPage{1258, "windows-1258"},
    KnownPage{10000, "macintosh"},    KnownPage{10006, "x-mac-greek"},   KnownPage{10007, "x-mac-cyrillic"},
    KnownPage{10029, "x-mac-centraleurroman"}, KnownPage{10081, "x-mac-turkish"},
    KnownPage{20866, "KOI8-R"},       KnownPage{21866, "KOI8-U"},        KnownPage{28591, "ISO-8859-1"},
    KnownPage{28592, "ISO-8859-2"},   KnownPage{28595, "ISO-8859-5"},    KnownPage{28597, "ISO-8859-7"},
    KnownPage{28599, "ISO-8859-9"},   KnownPage{28605, "ISO-8859-15"},
};

struct Charset {
    int charset;
    int codePage;
};

// A font's `\fcharsetN`. ANSI (0), default (1) and symbol (2) fonts read in
// the document's page: writers that declare another page with `\ansicpgN`
// still give most fonts charset 0.
constexpr std::array kCharsets{
    Charset{77, 10000}, Charset{128, 932},  Charset{129, 949},  Charset{134, 936},  Charset{136, 950},
    Charset{161, 1253}, Charset{162, 1254}, Charset{163, 1258}, Charset{177, 1255}, Charset{178, 1256},
    Charset{186, 1257}, Charset{204, 1251}, Charset{222, 874},  Charset{238, 1250},
};

constexpr int kWesternPage = CodePages::kWestern;
constexpr char16_t kReplacement = CodePages::kReplacement;
constexpr char16_t kSubstitute = 0x001A;  // what converters give for an unmapped byte

}  // namespace

std::unique_ptr<CodePage> CodePage::open(int number)
{
    std::unique_ptr<CodePage> page(new CodePage(number));
    if (number == kWesternPage) {
        for (int b = kFirstHigh; b <= 0xFF; ++b)
            page->m_high[std::size_t(b - kFirstHigh)] = fromCp1252(static_cast<unsigned char>(b));
        return page;
    }
    const auto known = std::find_if(kPages.begin(), kPages.end(), [number](const KnownPage& p) { return p.number == number; });
    if (known == kPages.end())
        return nullptr;
    if (!QStringDecoder(known->name).isValid())
        return nullptr;
    page->m_name = known->name;
    for (int b = kFirstHigh; b <= 0xFF; ++b) {
        // A fresh converter per byte: one that keeps the byte and says
        // nothing has been given the first byte of a pair.
        QStringDecoder decoder(known->name);
        const QString one = decoder.decode(QByteArray(1, char(b)));
        char16_t c = kReplacement;
        if (one.isEmpty())
            c = kLeadByte;
        else if (one.size() == 1 && one.at(0) != QChar(kSubstitute))
            c = one.at(0).unicode();
        page->m_high[std::size_t(b - kFirstHigh)] = c;
    }
    return page;
}

int CodePage::ofCharset(int charset)
{
    const auto found = std::find_if(kCharsets.begin(), kCharsets.end(), [charset](const Charset& c) { return c.charset == charset; });
    return found == kCharsets.end() ? 0 : found->codePage;
}

QString CodePage::pair(unsigned char lead, unsigned char trail) const
{
    if (!m_name)
        return {};
    QStringDecoder decoder(m_name, QStringDecoder::Flag::Stateless);
    const char bytes[] = {char(lead), char(trail)};
    QString text = decoder.decode(QByteArrayView(bytes, 2));
    if (text == QString(QChar(kSubstitute)))
        return {};
    return text;
}

const CodePage* CodePages::page(int number)
{
    auto found = m_pages.find(number);
    if (found == m_pages.end())
        found = m_pages.emplace(number, CodePage::open(number)).first;
    if (!found->second && m_unsupported == 0)
        m_unsupported = number;
    return found->second.get();
}

}  // namespace t1
