#include "documents/rtf_lexer.h"

#include "documents/rtf_reader.h"

#include <algorithm>
#include <array>
#include <climits>

namespace t1::rtf {

namespace {

constexpr int kMaxParamDigits = 10;
// Text is handed on in pieces of at most this many bytes, so that the rest
// of a long run is not read once the document is whole.
constexpr qsizetype kMaxTextPiece = 4096;

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

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The bytes that end a run of text.
constexpr auto kEndsText = [] {
    std::array<bool, 256> ends{};
    for (const unsigned char c : {'{', '}', '\\', '\r', '\n'})
        ends[c] = true;
    return ends;
}();

Token token(Token::Kind kind, std::string_view text = {})
{
    Token t;
    t.kind = kind;
    t.text = text;
    return t;
}

}  // namespace

Token Lexer::next()
{
    while (m_pos < m_size) {
        const char c = m_data[m_pos];
        if (isSyntax(c) && ++m_controls > RtfReader::kMaxControls) {
            m_pos = m_size;
            break;
        }
        const qsizetype start = m_pos++;
        switch (c) {
        case '{':
            return token(Token::Kind::Open);
        case '}':
            return token(Token::Kind::Close);
        case '\\':
            if (m_pos == m_size)
                break;
            if (isLetter(m_data[m_pos]))
                return word();
            if (m_data[m_pos] == '\'') {
                ++m_pos;
                Token t = token(Token::Kind::Byte);
                if (hexByte(t.byte))
                    return t;
                continue;  // `\'` without a digit says nothing
            }
            return token(Token::Kind::Symbol, {m_data + m_pos++, 1});
        default:
            if (isLineEnd(c))
                continue;
            for (const qsizetype end = std::min(m_size, start + kMaxTextPiece);
                 m_pos < end && !kEndsText[static_cast<unsigned char>(m_data[m_pos])];)
                ++m_pos;
            return token(Token::Kind::Text, {m_data + start, std::size_t(m_pos - start)});
        }
    }
    return {};
}

void Lexer::skip(int bytes)
{
    m_pos = bytes > m_size - m_pos ? m_size : m_pos + bytes;
}

// Letters, an optional signed number, and one space that only ends the word.
Token Lexer::word()
{
    const qsizetype start = m_pos;
    while (m_pos < m_size && isLetter(m_data[m_pos]))
        ++m_pos;
    Token t = token(Token::Kind::Word, {m_data + start, std::size_t(m_pos - start)});

    bool negative = false;
    if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    long long value = 0;
    for (int digits = 0; m_pos < m_size && isDigit(m_data[m_pos]); ++digits, ++m_pos) {
        if (digits < kMaxParamDigits)
            value = value * 10 + (m_data[m_pos] - '0');
        t.hasParam = true;
    }
    if (m_pos < m_size && m_data[m_pos] == ' ')
        ++m_pos;
    t.param = int(std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX));
    return t;
}

// One or two hex digits.
bool Lexer::hexByte(unsigned char& byte)
{
    constexpr int kHexDigits = 2;
    constexpr int kRadix = 16;
    int value = 0;
    int digits = 0;
    while (digits < kHexDigits && m_pos < m_size && hexValue(m_data[m_pos]) >= 0) {
        value = value * kRadix + hexValue(m_data[m_pos]);
        ++m_pos;
        ++digits;
    }
    byte = static_cast<unsigned char>(value);
    return digits > 0;
}

}  // namespace t1::rtf
