#pragma once

#include <QByteArray>

// Documents that ask the most of a reader and of the box that shows them,
// built where they are used rather than kept as large files.
namespace t1::testing {

// A document of a head, then a piece repeated, then a tail.
inline QByteArray repeatedRtf(const QByteArray& head, const QByteArray& piece, qsizetype count,
                              const QByteArray& tail = {})
{
    QByteArray rtf = "{\\rtf1\\ansi " + head;
    rtf.reserve(rtf.size() + piece.size() * count + tail.size() + 1);
    for (qsizetype i = 0; i < count; ++i)
        rtf += piece;
    return rtf + tail + "}";
}

// 32 paragraphs of 2 048 characters at 72 pt, an Arabic letter and a Latin
// one in turn: each letter is a run of its own for the layout, which then
// costs what a hundred paragraphs of words would.
inline QByteArray arabicAmongLatin()
{
    constexpr int kParagraphs = 32;
    constexpr int kPairs = 1024;
    const QByteArray paragraph = QByteArray("\\u1576?a").repeated(kPairs) + "\\par ";
    return repeatedRtf("\\fs144 ", paragraph, kParagraphs);
}

// 38 000 small pictures, about 7.75 MB: the reader skips them, but reads
// and parses the whole file.
inline QByteArray smallPictures()
{
    constexpr int kPictures = 38000;
    constexpr int kHexDigits = 174;
    const QByteArray picture = "{\\pict\\pngblip\\picw16\\pich16 " + QByteArray(kHexDigits, 'f') + "}";
    return repeatedRtf("d\\'e9but ", picture, kPictures, " fin");
}

}  // namespace t1::testing
