#pragma once

#include <QString>

#include <array>
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

}  // namespace t1
