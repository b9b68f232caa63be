#pragma once

#include "documents/code_page.h"
#include "documents/rtf_builder.h"
#include "documents/rtf_groups.h"
#include "documents/rtf_lexer.h"
#include "documents/rtf_reader.h"
#include "documents/rtf_tables.h"

#include <string_view>

namespace t1::rtf {

// One read of a document: the lexer's braces open and close groups, its
// control words and symbols run their rows of the word table
// (rtf_words.cpp), and text goes, decoded, to the current group's
// destination. The actions of the rows work on the parts below.
class Parser {
public:
    // The data from its `{\rtf` on.
    explicit Parser(QByteArrayView data) : lexer(data) {}

    RtfReader::Result run();

    // A character of the document, to where the current group sends it.
    void put(char16_t c);

    Lexer lexer;
    Groups groups;
    FontTable fonts;
    ColourTable colours;
    CodePages pages;
    DocumentBuilder builder{fonts, colours};

private:
    void control(std::string_view name, bool hasParam, int param);
    void closeGroup();
    void textByte(char c);
    // The page of the current font, or 0 for the document's.
    int fontPage() const;
    void dropLeadByte();
};

}  // namespace t1::rtf
