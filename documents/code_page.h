#pragma once

#include <QString>

#include <array>
#include <map>
#include <memory>

namespace t1 {

// The 8-bit characters of a document in a Windows code page, as RTF numbers
// them (`\ansicpgN`, a font's `\cpgN` or `\fcharsetN`). Bytes below 0x80 are
// the document's ASCII syntax and never pass through here. Double-byte pages
// (Japanese, Chinese, Korean) give a lead byte that waits for the next one.
class CodePage {
public:
    // Null for a page the program cannot decode.
    static std::unique_ptr<CodePage> open(int number);

    // The code page of a font's `\fcharsetN`, or 0 when the charset says
    // nothing beyond the document's own page.
    static int ofCharset(int charset);

    int number() const { return m_number; }

    // A character, or kLeadByte for the first byte of a pair.
    char16_t character(unsigned char byte) const { return m_high[byte - kFirstHigh]; }
    // The character of a pair of bytes, empty if the pair means nothing.
    QString pair(unsigned char lead, unsigned char trail) const;

    static constexpr unsigned char kFirstHigh = 0x80;
    static constexpr char16_t kLeadByte = 0;

private:
    explicit CodePage(int number) : m_number(number) {}

    int m_number;
    const char* m_name = nullptr;  // for the system's converter; null for 1252
    std::array<char16_t, 0x80> m_high{};
};

// The 8-bit text of one document, in the page its font or the document
// declares: each page opened once, the first byte of a pair kept until the
// next byte. What cannot be decoded reads as kReplacement.
class CodePages {
public:
    static constexpr int kWestern = 1252;  // where a document starts
    static constexpr char16_t kReplacement = 0xFFFD;

    void setDocumentPage(int number) { m_documentPage = number; }
    bool waiting() const { return m_leadByte >= 0; }

    // A byte from kFirstHigh on, or any second byte of a pair, in page
    // `number` (0: the document's); each character goes to put.
    template <typename Put>
    void decode(unsigned char byte, int number, Put&& put);
    // The first byte of a pair followed by something else than its second.
    template <typename Put>
    void drop(Put&& put);

    // The first page that was needed and cannot be decoded, or 0.
    int unsupported() const { return m_unsupported; }

private:
    const CodePage* page(int number);

    int m_documentPage = kWestern;
    std::map<int, std::unique_ptr<CodePage>> m_pages;  // null: cannot be decoded
    int m_unsupported = 0;
    int m_leadByte = -1;
};

template <typename Put>
void CodePages::decode(unsigned char byte, int number, Put&& put)
{
    const CodePage* const decoder = page(number > 0 ? number : m_documentPage);
    if (m_leadByte >= 0) {
        const auto lead = static_cast<unsigned char>(m_leadByte);
        m_leadByte = -1;
        const QString text = decoder ? decoder->pair(lead, byte) : QString();
        if (text.isEmpty())
            put(kReplacement);
        for (const QChar c : text)
            put(c.unicode());
        return;
    }
    if (!decoder) {
        put(kReplacement);
        return;
    }
    const char16_t c = decoder->character(byte);
    if (c == CodePage::kLeadByte)
        m_leadByte = byte;
    else
        put(c);
}

template <typename Put>
void CodePages::drop(Put&& put)
{
    if (m_leadByte < 0)
        return;
    m_leadByte = -1;
    put(kReplacement);
}

}  // namespace t1
