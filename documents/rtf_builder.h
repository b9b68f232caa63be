#pragma once

#include "documents/rtf_groups.h"

#include <QString>
#include <QTextCursor>

#include <memory>
#include <vector>

class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;

namespace t1::rtf {

class ColourTable;
class FontTable;

// Builds the QTextDocument from the text of a document and its breaks,
// within what RtfReader allows a document to ask of the layout. Each
// paragraph takes the formats of the group it ends in, its characters those
// of the groups they were read in.
class DocumentBuilder {
public:
    DocumentBuilder(const FontTable& fonts, const ColourTable& colours);
    ~DocumentBuilder();

    // The document is whole: its group closed or a cap was reached.
    bool done() const { return m_done; }

    void character(char16_t c, const GroupState& group);
    // `\par`: inside a table, a line of the cell.
    void paragraph(const GroupState& group);
    void cell();
    void row(const GroupState& group) { endParagraph(group); }
    // The document's own group closes: what follows it is not part of it.
    void end(const GroupState& group);
    void setDefaultTab(int twips) { m_tabTwips = twips; }

    std::unique_ptr<QTextDocument> finish(const GroupState& group);

private:
    struct Run {
        QString text;
        CharProps props;
    };

    void append(char16_t c, const GroupState& group);
    void endParagraph(const GroupState& group);
    void writeParagraph(const GroupState& group);
    QTextCharFormat charFormat(const CharProps& p) const;

    const FontTable& m_fonts;
    const ColourTable& m_colours;
    std::unique_ptr<QTextDocument> m_document;
    QTextCursor m_cursor;
    bool m_done = false;
    bool m_firstBlock = true;
    int m_tabTwips;

    std::vector<Run> m_runs;  // the paragraph being read
    int m_cellsPending = 0;   // cells closed since the paragraph's last text
    bool m_breakPending = false;
    int m_marksInRow = 0;

    int m_chars = 0;
    int m_paragraphs = 0;
    int m_paragraphChars = 0;
    int m_documentRuns = 0;
};

}  // namespace t1::rtf
