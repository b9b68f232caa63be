#pragma once

#include <string_view>

namespace t1::rtf {

// The control words the reader acts on. Every other word is ignored.
enum class Word {
    Unknown,
    // Destinations.
    SkippedDestination,  // text that is never shown: style sheet, pictures, headers...
    FontTable,
    ColourTable,
    // Document.
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    DefaultTab,
    UnicodeSkip,
    Unicode,
    Binary,
    // Character formatting.
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    Font,
    FontSize,
    Colour,
    Highlight,
    Subscript,
    Superscript,
    NoSuperSub,
    Down,
    Up,
    // Paragraph formatting.
    ParagraphDefaults,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    TabStop,
    InTable,
    // Breaks.
    Paragraph,
    Cell,
    Row,
    // A character of its own: `\tab`, `\line`, `\bullet`, the quotes...
    Character,
    // Font table entries.
    FontFamilyRoman,
    FontFamilySwiss,
    FontFamilyModern,
    FontFamilyScript,
    FontFamilyDecor,
    FontFamilyOther,
    FontCharset,
    FontCodePage,
    // Colour table entries.
    Red,
    Green,
    Blue,
};

struct WordInfo {
    Word word = Word::Unknown;
    char16_t character = 0;  // for Word::Character
};

// What a control word (its letters, without the backslash) means.
WordInfo lookupWord(std::string_view name);

}  // namespace t1::rtf
