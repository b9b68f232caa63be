#pragma once

#include "picture/canvas.h"

#include <QString>
#include <QStringView>

#include <span>

namespace t1 {

// Rows of the script tables: what the picture draws, in drawing order.
struct Segment {
    int x1, y1, x2, y2;
};

// Covers (x1, y1) up to but excluding (x2, y2).
struct Box {
    int x1, y1, x2, y2;
};

// A text with the top-left corner of its cell at (x, y). The text is a
// u"" literal, so the table can be constexpr and printing allocates nothing.
struct Label {
    int x, y;
    QStringView text;
};

// A QString over a literal's storage, without copying it. Only for texts of
// static storage: the canvas keeps the string as the key of its text stamp.
inline QString borrowed(QStringView literal)
{
    return QString::fromRawData(literal.data(), literal.size());
}

inline void drawSegments(Canvas& c, std::span<const Segment> segments)
{
    for (const Segment& s : segments)
        c.line(s.x1, s.y1, s.x2, s.y2);
}

inline void drawBox(Canvas& c, const Box& b)
{
    c.rectangle(b.x1, b.y1, b.x2, b.y2);
}

inline void printLabels(Canvas& c, std::span<const Label> labels)
{
    for (const Label& l : labels)
        c.textOut(l.x, l.y, borrowed(l.text));
}

}  // namespace t1
