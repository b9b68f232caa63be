#include "documents/rtf_parser.h"

#include "documents/rtf_words.h"

#include <QTextDocument>

namespace t1::rtf {

RtfReader::Result Parser::run()
{
    while (!builder.done()) {
        const Token token = lexer.next();
        switch (token.kind) {
        case Token::Kind::End:
            break;
        case Token::Kind::Open:
            dropLeadByte();
            groups.open();
            continue;
        case Token::Kind::Close:
            dropLeadByte();
            closeGroup();
            continue;
        case Token::Kind::Word:
        case Token::Kind::Symbol:
            dropLeadByte();
            control(token.text, token.hasParam, token.param);
            continue;
        case Token::Kind::Byte:
            textByte(char(token.byte));
            continue;
        case Token::Kind::Text:
            // Pictures and other data: most of a large file, none of it shown.
            if (groups.top().dest == Destination::Skip)
                continue;
            for (const char c : token.text) {
                if (builder.done())
                    break;
                textByte(c);
            }
            continue;
        }
        break;
    }
    dropLeadByte();

    RtfReader::Result result;
    result.document = builder.finish(groups.top());
    result.unsupportedCodePage = pages.unsupported();
    return result;
}

void Parser::put(char16_t c)
{
    switch (groups.top().dest) {
    case Destination::Skip:
        return;
    case Destination::FontTable:
        fonts.put(c);
        return;
    case Destination::ColourTable:
        colours.put(c);
        return;
    case Destination::Text:
        builder.character(c, groups.top());
        return;
    }
}

void Parser::control(std::string_view name, bool hasParam, int param)
{
    const Row* row = findWord(name);
    if (row && row->actsIn(groups.top().dest))
        row->action(*this, {row->argument, hasParam, param});
}

void Parser::closeGroup()
{
    if (!groups.closing())
        return;
    if (groups.top().dest == Destination::FontTable)
        fonts.endGroup();
    if (groups.depth() == 1)
        builder.end(groups.top());
    groups.pop();
}

// A byte of 8-bit text, in the code page of the current font or else of
// the document.
void Parser::textByte(char c)
{
    if (groups.skipFallback() || groups.top().dest == Destination::Skip)
        return;
    const auto byte = static_cast<unsigned char>(c);
    if (byte < CodePage::kFirstHigh && !pages.waiting())
        put(byte);
    else
        pages.decode(byte, fontPage(), [this](char16_t decoded) { put(decoded); });
}

int Parser::fontPage() const
{
    if (groups.top().dest == Destination::FontTable)
        return fonts.entry().codePage;
    const FontEntry* font = fonts.find(groups.top().ch.font);
    return font ? font->codePage : 0;
}

void Parser::dropLeadByte()
{
    pages.drop([this](char16_t c) { put(c); });
}

}  // namespace t1::rtf
