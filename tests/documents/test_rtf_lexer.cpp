// The reader's parts below its whole: the lexer's tokens and the word
// table's lookup.
#include "documents/rtf_lexer.h"
#include "documents/rtf_words.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using t1::rtf::Lexer;
using t1::rtf::Token;

std::string shown(const Token& t)
{
    switch (t.kind) {
    case Token::Kind::End:
        return "end";
    case Token::Kind::Open:
        return "{";
    case Token::Kind::Close:
        return "}";
    case Token::Kind::Word:
        return "\\" + std::string(t.text) + (t.hasParam ? "=" + std::to_string(t.param) : "");
    case Token::Kind::Symbol:
        return t.text == "\n" ? "\\LF" : "\\" + std::string(t.text);
    case Token::Kind::Byte:
        return "'" + std::to_string(t.byte);
    case Token::Kind::Text:
        return "[" + std::string(t.text) + "]";
    }
    return "?";
}

std::string tokens(Lexer& lexer)
{
    std::string all;
    for (Token t = lexer.next(); t.kind != Token::Kind::End; t = lexer.next())
        all += (all.empty() ? "" : " ") + shown(t);
    return all;
}

std::string tokens(const char* rtf)
{
    Lexer lexer{QByteArrayView(rtf)};
    return tokens(lexer);
}

TEST(RtfLexer, CutsADocumentIntoTokens)
{
    // One space ends a word; numbers are signed, and past ten digits clamped.
    EXPECT_EQ(tokens("{\\rtf1\\b  x\\fs-20 y\\ul0\\b-x\\li99999999999 }"),
              "{ \\rtf=1 \\b [ x] \\fs=-20 [y] \\ul=0 \\b [-x] \\li=2147483647 }");
    // Escaped bytes of one or two digits; `\'` without one gives nothing.
    EXPECT_EQ(tokens("\\'e9\\'5\\'\\~\\'zz a"), "'233 '5 \\~ [zz a]");
    // Line ends split text and are not text; after a backslash, a symbol.
    EXPECT_EQ(tokens("a\r\nb\\\nc\\"), "[a] [b] \\LF [c]");
}

TEST(RtfLexer, BinaryDataAndLongTextAreNeverMisread)
{
    Lexer lexer{QByteArrayView("{\\bin3 a}b}c")};
    EXPECT_EQ(shown(lexer.next()), "{");
    EXPECT_EQ(shown(lexer.next()), "\\bin=3");
    lexer.skip(3);
    EXPECT_EQ(tokens(lexer), "} [c]");
    Lexer past{QByteArrayView("\\bin9 ab")};
    past.next();
    past.skip(9);
    EXPECT_EQ(past.next().kind, Token::Kind::End);

    // A long run may come in pieces, none of it lost.
    const std::string run(10000, 'x');
    const std::string rtf = run + "}";
    Lexer pieces{QByteArrayView(rtf.data(), qsizetype(rtf.size()))};
    std::string read;
    Token t = pieces.next();
    for (; t.kind == Token::Kind::Text; t = pieces.next())
        read += t.text;
    EXPECT_EQ(read, run);
    EXPECT_EQ(t.kind, Token::Kind::Close);
}

TEST(RtfWords, EveryRowIsFoundByItsNameOnly)
{
    ASSERT_GT(t1::rtf::words().size(), 100U);
    for (const t1::rtf::Row& row : t1::rtf::words())
        EXPECT_EQ(t1::rtf::findWord(row.name), &row) << row.name;
    for (const char* unknown : {"", "B", "pars", "ulnon", "zzzz"})
        EXPECT_EQ(t1::rtf::findWord(unknown), nullptr) << unknown;
    EXPECT_EQ(t1::rtf::findWord(std::string(500, 'u')), nullptr);
}

}  // namespace
