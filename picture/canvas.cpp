#include "picture/canvas.h"

#include "picture/fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

namespace t1 {

namespace {

// A dotted cosmetic pen: three pixels on, three off, along the line.
constexpr int kDotOn = 3;
constexpr int kDotPeriod = 6;
// Diagonal-cross hatch: one line every 8 pixels in each diagonal direction,
// anchored to the surface's origin so that neighbouring figures line up.
constexpr int kHatchPeriod = 8;
// Text stamps are remembered per surface; a lesson prints a few dozen
// distinct texts, so this bound is only a guard against unbounded growth.
constexpr int kMaxStamps = 4096;

bool hatchCovers(int x, int y)
{
    const int a = ((x + y) % kHatchPeriod + kHatchPeriod) % kHatchPeriod;
    const int b = ((x - y) % kHatchPeriod + kHatchPeriod) % kHatchPeriod;
    return a == 0 || b == 0;
}

// Figures given by two corners in any order.
void normalise(int& x1, int& y1, int& x2, int& y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
}

QImage asRgb32(QImage image)
{
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

}  // namespace

Canvas::Canvas(QImage image) : m_image(asRgb32(std::move(image))) {}

Canvas::Canvas(int width, int height, QRgb fill) : m_image(width, height, QImage::Format_RGB32)
{
    m_image.fill(fill);
}

void Canvas::touchAll()
{
    touch(m_image.rect());
}

void Canvas::setImage(QImage image)
{
    m_image = asRgb32(std::move(image));
    touch(m_image.rect());
}

QRgb Canvas::pixel(int x, int y) const
{
    if (!m_image.valid(x, y))
        return 0;
    return reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x];
}

QRegion Canvas::takeDirty()
{
    const QRegion r = m_dirty & m_image.rect();
    m_dirty = QRegion();
    return r;
}

// One detach per drawing call rather than one per row: the rows are
// written through plain pointers until the call returns.
void Canvas::beginWrite()
{
    m_bits = reinterpret_cast<QRgb*>(m_image.bits());
    m_stride = m_image.bytesPerLine() / qsizetype(sizeof(QRgb));
    m_width = m_image.width();
    m_height = m_image.height();
    m_changed = QRect();
}

void Canvas::endWrite()
{
    if (!m_changed.isEmpty())
        touch(m_changed);
}

void Canvas::touch(const QRect& r)
{
    // Within the picture, where a rectangle inside the dirty region costs nothing to add.
    m_dirty += r & m_image.rect();
    // A text with any pixel changed under it must be printed again.
    m_printed.removeIf([&r](const auto& entry) { return entry.value().bounds.intersects(r); });
}

// Only pixels that take a new colour count as changed: the lessons reprint
// their frames and texts over themselves on every tick, and what did not
// change need not be copied to the screen again.
void Canvas::plot(int x, int y, QRgb c)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    QRgb& p = m_bits[y * m_stride + x];
    if (p == c)
        return;
    p = c;
    m_changed |= QRect(x, y, 1, 1);
}

void Canvas::hspan(int x1, int x2, int y, QRgb c)
{
    if (y < 0 || y >= m_height)
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, m_width - 1);
    if (x1 > x2)
        return;
    QRgb* row = m_bits + y * m_stride;
    QRgb* first = std::find_if(row + x1, row + x2 + 1, [c](QRgb p) { return p != c; });
    if (first == row + x2 + 1)
        return;
    QRgb* end = row + x2 + 1;
    while (end[-1] == c)
        --end;
    std::fill(first, end, c);
    m_changed |= QRect(QPoint(int(first - row), y), QPoint(int(end - row) - 1, y));
}

// A pen wider than one pixel spreads across the line's minor axis,
// w/2 pixels before the path and the rest after it.
void Canvas::widePoint(int x, int y, bool xMajor, QRgb c)
{
    const int from = -(m_penWidth / 2);
    const int to = from + m_penWidth - 1;
    if (xMajor) {
        for (int d = from; d <= to; ++d)
            plot(x, y + d, c);
    } else {
        hspan(x + from, x + to, y, c);
    }
}

void Canvas::lineTo(int x2, int y2)
{
    const int x1 = m_position.x();
    const int y1 = m_position.y();
    m_position = QPoint(x2, y2);

    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    if (dx == 0 && dy == 0)
        return;
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const bool dotted = m_penStyle == PenStyle::Dot && m_penWidth == 1;
    beginWrite();

    // Bresenham, stopping one step before the last point.
    const int steps = std::max(dx, dy);
    int x = x1;
    int y = y1;
    int err = xMajor ? 2 * dy - dx : 2 * dx - dy;
    for (int i = 0; i < steps; ++i) {
        if (!dotted || i % kDotPeriod < kDotOn) {
            if (m_penWidth == 1)
                plot(x, y, m_penColour);
            else
                widePoint(x, y, xMajor, m_penColour);
        }
        if (xMajor) {
            if (err > 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        } else {
            if (err > 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
    // A wide pen has a cap on its end: thick lines meet what they end on
    // (the power lines reach the resistor's leads in the oven picture).
    if (m_penWidth > 1)
        widePoint(x2, y2, xMajor, m_penColour);
    endWrite();
}

void Canvas::fillInterior(int x1, int y1, int x2, int y2)
{
    if (x1 > x2 || y1 > y2)
        return;
    beginWrite();
    if (m_brushStyle == BrushStyle::Solid) {
        for (int y = y1; y <= y2; ++y)
            hspan(x1, x2, y, m_brushColour);
    } else {
        for (int y = std::max(y1, 0); y <= std::min(y2, m_height - 1); ++y)
            for (int x = std::max(x1, 0); x <= std::min(x2, m_width - 1); ++x)
                if (hatchCovers(x, y))
                    plot(x, y, m_brushColour);
    }
    endWrite();
}

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    normalise(x1, y1, x2, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    const int right = x2 - 1;
    const int bottom = y2 - 1;
    fillInterior(x1 + 1, y1 + 1, right - 1, bottom - 1);
    beginWrite();

    // The outline is centred on the border pixels, like a line of the pen's width.
    const int from = -(m_penWidth / 2);
    const int to = from + m_penWidth - 1;
    for (int d = from; d <= to; ++d) {
        hspan(x1 + from, right + to, y1 + d, m_penColour);
        hspan(x1 + from, right + to, bottom + d, m_penColour);
    }
    for (int y = y1 + from; y <= bottom + to; ++y) {
        hspan(x1 + from, x1 + to, y, m_penColour);
        hspan(right + from, right + to, y, m_penColour);
    }
    endWrite();
}

void Canvas::fillRect(int x1, int y1, int x2, int y2)
{
    normalise(x1, y1, x2, y2);
    fillInterior(x1, y1, x2 - 1, y2 - 1);
}

namespace {

void preparePainter(QPainter& p, QRgb pen, int width, QRgb brush, BrushStyle style)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen qpen{QColor::fromRgb(pen)};
    qpen.setWidth(width);
    qpen.setJoinStyle(Qt::MiterJoin);
    p.setPen(qpen);
    p.setBrush(QBrush(QColor::fromRgb(brush), style == BrushStyle::Solid ? Qt::SolidPattern : Qt::DiagCrossPattern));
}

}  // namespace

void Canvas::ellipse(int x1, int y1, int x2, int y2)
{
    normalise(x1, y1, x2, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    QPainter p(&m_image);
    preparePainter(p, m_penColour, m_penWidth, m_brushColour, m_brushStyle);
    // An aliased Qt ellipse also paints its right and bottom edge: shrink by one.
    p.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    touch(QRect(x1 - m_penWidth, y1 - m_penWidth, x2 - x1 + 2 * m_penWidth, y2 - y1 + 2 * m_penWidth));
}

void Canvas::polygon(std::span<const QPoint> points)
{
    if (points.empty())
        return;
    QPolygon poly;
    for (const QPoint& pt : points)
        poly << pt;
    {
        QPainter p(&m_image);
        preparePainter(p, m_penColour, m_penWidth, m_brushColour, m_brushStyle);
        p.setPen(Qt::NoPen);
        p.drawPolygon(poly, Qt::OddEvenFill);
    }
    // The outline is a closed chain of the pen's own lines, through every vertex.
    const QPoint keep = m_position;
    moveTo(points.back().x(), points.back().y());
    for (const QPoint& pt : points)
        lineTo(pt.x(), pt.y());
    m_position = keep;
    touch(poly.boundingRect().adjusted(-m_penWidth, -m_penWidth, m_penWidth, m_penWidth));
}

void Canvas::draw(int x, int y, const QImage& bitmap)
{
    const QImage src = asRgb32(bitmap);
    const QRect target = QRect(x, y, src.width(), src.height()) & m_image.rect();
    if (target.isEmpty())
        return;
    beginWrite();
    for (int row = target.top(); row <= target.bottom(); ++row) {
        const QRgb* from = reinterpret_cast<const QRgb*>(src.constScanLine(row - y)) + (target.left() - x);
        QRgb* into = m_bits + row * m_stride + target.left();
        if (std::equal(from, from + target.width(), into))
            continue;
        std::copy(from, from + target.width(), into);
        m_changed |= QRect(target.left(), row, target.width(), 1);
    }
    endWrite();
}

// Each distinct text is rasterised once into runs of set pixels relative to
// the cell's top-left corner; printing it again replays the runs.
const Canvas::Stamp& Canvas::stamp(const QString& text)
{
    const TextKey key{text, m_fontSize, m_fontBold};
    auto it = m_stamps.constFind(key);
    if (it != m_stamps.constEnd())
        return *it;
    if (m_stamps.size() >= kMaxStamps)
        m_stamps.clear();

    const QFont font = fonts::make(m_fontSize, m_fontBold);
    const QFontMetrics fm(font);
    // Room for glyphs that overhang their advance on either side.
    const int pad = fm.height();
    QImage mask(fm.horizontalAdvance(text) + 2 * pad, fm.height() + 2 * pad, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QPoint(pad, pad + fm.ascent()), text);
    }
    Stamp s;
    for (int y = 0; y < mask.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (qAlpha(row[x]) < 128) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && qAlpha(row[x]) >= 128)
                ++x;
            s.runs.push_back(Run{y - pad, start - pad, x - start});
            s.bounds |= QRect(start - pad, y - pad, x - start, 1);
        }
    }
    return *m_stamps.insert(key, std::move(s));
}

void Canvas::textOut(int x, int y, const QString& text)
{
    if (text.isEmpty())
        return;
    // Printed there in this colour and nothing drawn over it since: the
    // pixels are already right. The lessons reprint every text on every tick.
    const QPoint at(x, y);
    const auto printed = m_printed.constFind(at);
    if (printed != m_printed.constEnd() && printed->colour == m_fontColour && printed->size == m_fontSize &&
        printed->bold == m_fontBold && printed->text == text)
        return;

    const Stamp& s = stamp(text);
    beginWrite();
    for (const Run& r : s.runs)
        hspan(x + r.x0, x + r.x0 + r.length - 1, y + r.dy, m_fontColour);
    endWrite();
    m_printed.insert(at, Printed{text, m_fontSize, m_fontBold, m_fontColour, s.bounds.translated(x, y)});
}

int Canvas::textWidth(const QString& text) const
{
    return QFontMetrics(fonts::make(m_fontSize, m_fontBold)).horizontalAdvance(text);
}

}  // namespace t1
