#pragma once

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace t1::testing {

// The text as a reader sees it: every run of blanks (tabs, line breaks,
// no-break spaces) one space, no blanks at either end.
inline QString collapsed(const QString& text)
{
    QString out;
    bool blank = false;
    for (const QChar c : text) {
        if (c.isSpace() || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty())
            out.append(u' ');
        blank = false;
        out.append(c);
    }
    return out;
}

inline QString plain(const QTextDocument& doc)
{
    return collapsed(doc.toRawText());
}

// A cursor holding the first occurrence of the phrase, or a null one.
inline QTextCursor find(const QTextDocument& doc, const QString& phrase)
{
    return doc.find(phrase);
}

// The character format of the phrase's character at that index (by
// default its middle one).
inline QTextCharFormat formatOf(const QTextDocument& doc, const QString& phrase, int index = -1)
{
    QTextCursor c = doc.find(phrase);
    if (c.isNull())
        return {};
    // A cursor reports the format of the character before it.
    c.setPosition(c.selectionStart() + (index < 0 ? int(phrase.size() / 2) : index) + 1);
    return c.charFormat();
}

}  // namespace t1::testing
