#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <string_view>

namespace t1::rtf {

struct Token {
    enum class Kind : std::uint8_t {
        End,
        Open,    // {
        Close,   // }
        Word,    // \letters, with an optional signed number
        Symbol,  // \ and one other character
        Byte,    // \'hh
        Text,    // bytes that are neither syntax nor line ends
    };
    Kind kind = Kind::End;
    // A word's letters, a symbol's character, the bytes of text.
    std::string_view text;
    bool hasParam = false;
    int param = 0;
    unsigned char byte = 0;
};

// Cuts a document into tokens. Line ends in the file are not text and give
// none. The work is bounded per byte, and the document ends after
// RtfReader::kMaxControls braces, control words and symbols.
class Lexer {
public:
    explicit Lexer(QByteArrayView data) : m_data(data.data()), m_size(data.size()) {}

    Token next();
    // Raw data that follows a `\binN`: never tokens.
    void skip(int bytes);

private:
    Token word();
    bool hexByte(unsigned char& byte);

    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    int m_controls = 0;
};

}  // namespace t1::rtf
