#pragma once

#include <QByteArrayView>

#include <memory>

class QTextDocument;

namespace t1 {

// Reads the rich text that word processors write into a QTextDocument.
// Qt reads HTML and Markdown but not RTF, hence a reader of our own.
//
// Any input is safe: the parse keeps an explicit stack of group states (no
// recursion), does bounded work per input byte and caps the group depth and
// the size of the document it builds. Whatever could be read is returned.
class RtfReader {
public:
    // Groups nested deeper than this are still parsed, within the state of
    // the deepest group kept.
    static constexpr int kMaxGroupDepth = 256;
    // Characters and paragraphs of the built document; the rest is dropped.
    static constexpr int kMaxDocumentChars = 1 << 20;
    static constexpr int kMaxParagraphs = 1 << 15;

    enum class Problem {
        None,
        Empty,   // nothing but blanks
        NotRtf,  // no `{\rtf` header
    };

    struct Result {
        std::unique_ptr<QTextDocument> document;  // null unless problem is None
        Problem problem = Problem::None;
        // The document ended inside a group, or a size cap was reached.
        bool truncated = false;
    };

    static Result read(QByteArrayView data);
};

}  // namespace t1
