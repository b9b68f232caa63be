#pragma once

#include <QByteArrayView>

#include <memory>

class QTextDocument;

namespace t1 {

// Reads the rich text that word processors write into a QTextDocument.
// Qt reads HTML and Markdown but not RTF, hence a reader of our own.
//
// Any input is safe: the parse keeps an explicit stack of group states (no
// recursion), does bounded work per input byte and caps the group depth, the
// size of the document it builds and what that document asks of a layout.
// Whatever could be read is returned. 8-bit text is read in the code page
// the document or its font declares (Windows 1252 unless told otherwise).
class RtfReader {
public:
    // Groups nested deeper than this are still parsed, within the state of
    // the deepest group kept.
    static constexpr int kMaxGroupDepth = 256;

    // What a commentary needs, and no more: the window lays the document out
    // between two ticks of the animation, so these bound that work too.
    // Past the characters or paragraphs, the rest of the file is dropped.
    static constexpr int kMaxDocumentChars = 1 << 16;
    static constexpr int kMaxParagraphs = 1 << 11;
    // A longer paragraph goes on in a new one.
    static constexpr int kMaxParagraphChars = 1 << 11;
    // Past these, text keeps the format of the text before it.
    static constexpr int kMaxParagraphRuns = 1 << 6;
    static constexpr int kMaxDocumentRuns = 1 << 11;
    // Larger font sizes are shown at this one, and the space above or
    // below a paragraph is at most a line of it.
    static constexpr int kMaxPoints = 72;
    // Control words and symbols and group braces: the file ends after
    // these, so that no file of the allowed size takes long to read.
    static constexpr int kMaxControls = 1 << 18;

    enum class Problem {
        None,
        Empty,   // nothing but blanks
        NotRtf,  // no `{\rtf` header
    };

    struct Result {
        std::unique_ptr<QTextDocument> document;  // null unless problem is None
        Problem problem = Problem::None;
        // A code page of the document's 8-bit characters that the reader
        // cannot decode, or 0; those characters read as U+FFFD.
        int unsupportedCodePage = 0;
    };

    static Result read(QByteArrayView data);
};

}  // namespace t1
