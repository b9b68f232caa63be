#pragma once

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QRgb>
#include <QString>

#include <span>
#include <vector>

namespace t1 {

enum class PenStyle { Solid, Dot };
enum class BrushStyle { Solid, DiagCross };

// A drawing surface over a QImage that keeps its own pen, brush and font
// between calls, with the pixel rules every lesson is drawn by:
// - a rectangle or ellipse covers (x1, y1) up to but excluding (x2, y2);
// - a line starts on its first point and does not paint its last one,
//   unless the pen is wider than one pixel: wide pens cover both ends;
// - a diagonal-cross hatch paints its lines and leaves the gaps untouched;
// - text has a transparent background and no antialiasing, so printing the
//   same text twice leaves exactly the pixels of printing it once.
// Nothing is antialiased. Pixels outside the image are clipped. Only pixels
// that take a new colour count as changed, for the copy to the screen.
class Canvas {
public:
    Canvas() = default;
    explicit Canvas(QImage image);
    Canvas(int width, int height, QRgb fill);

    const QImage& image() const { return m_image; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QRgb pixel(int x, int y) const;

    // Replaces the picture; pen, brush and font stay as they are.
    void setImage(QImage image);

    void setPenColour(QRgb c) { m_penColour = c; }
    void setPenWidth(int w) { m_penWidth = w < 1 ? 1 : w; }
    void setPenStyle(PenStyle s) { m_penStyle = s; }
    void setBrushColour(QRgb c) { m_brushColour = c; }
    void setBrushStyle(BrushStyle s) { m_brushStyle = s; }
    void setFontColour(QRgb c) { m_fontColour = c; }
    void setFontSize(int pixels) { m_fontSize = pixels; }
    void setFontBold(bool bold) { m_fontBold = bold; }

    // Pen and brush of one colour, as the lessons set them before a filled figure.
    void setPenAndBrush(QRgb c)
    {
        m_penColour = c;
        m_brushColour = c;
    }

    QRgb penColour() const { return m_penColour; }
    int penWidth() const { return m_penWidth; }
    PenStyle penStyle() const { return m_penStyle; }
    QRgb brushColour() const { return m_brushColour; }
    BrushStyle brushStyle() const { return m_brushStyle; }
    QRgb fontColour() const { return m_fontColour; }
    int fontSize() const { return m_fontSize; }
    QPoint penPosition() const { return m_position; }

    void moveTo(int x, int y) { m_position = QPoint(x, y); }
    void lineTo(int x, int y);
    void line(int x1, int y1, int x2, int y2)
    {
        moveTo(x1, y1);
        lineTo(x2, y2);
    }

    // Outline with the pen, inside filled with the brush.
    void rectangle(int x1, int y1, int x2, int y2);
    void ellipse(int x1, int y1, int x2, int y2);
    void polygon(std::span<const QPoint> points);
    // Brush only, no outline.
    void fillRect(int x1, int y1, int x2, int y2);

    // Top-left corner of the text's cell at (x, y).
    void textOut(int x, int y, const QString& text);
    // How wide a text prints in the current font: labels centred on a mark.
    int textWidth(const QString& text) const;

    // Copies a bitmap with its top-left corner at (x, y).
    void draw(int x, int y, const QImage& bitmap);

    // The pixels changed since the last call, for a partial copy to the
    // screen: a few rectangles, so that a control lying between two changed
    // places is not repainted.
    QRegion takeDirty();
    // Counts the whole picture as changed: a picture drawn at once and shown
    // whole then adds nothing to the region for each of its many strokes,
    // which would cost more than the strokes.
    void touchAll();

private:
    struct Run {
        int dy;
        int x0;
        int length;
    };
    struct Stamp {
        std::vector<Run> runs;
        QRect bounds;
    };
    struct TextKey {
        QString text;
        int size;
        bool bold;
        bool operator==(const TextKey&) const = default;
    };
    friend size_t qHash(const TextKey& k, size_t seed) { return qHashMulti(seed, k.text, k.size, k.bold); }

    void beginWrite();
    void endWrite();
    void plot(int x, int y, QRgb c);
    void hspan(int x1, int x2, int y, QRgb c);  // x1..x2 inclusive
    void widePoint(int x, int y, bool xMajor, QRgb c);
    void fillInterior(int x1, int y1, int x2, int y2);  // inclusive bounds, brush
    void touch(const QRect& r);
    const Stamp& stamp(const QString& text);

    QImage m_image;
    // Valid from beginWrite() until the drawing call returns.
    QRgb* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    QRect m_changed;  // by the drawing call under way
    QRgb m_penColour = 0xFF000000u;
    int m_penWidth = 1;
    PenStyle m_penStyle = PenStyle::Solid;
    QRgb m_brushColour = 0xFFFFFFFFu;
    BrushStyle m_brushStyle = BrushStyle::Solid;
    QRgb m_fontColour = 0xFF000000u;
    int m_fontSize = 11;
    bool m_fontBold = false;
    QPoint m_position;
    QRegion m_dirty;
    QHash<TextKey, Stamp> m_stamps;

    // The texts whose pixels are on the surface as printed, by cell position.
    struct Printed {
        QString text;
        int size;
        bool bold;
        QRgb colour;
        QRect bounds;
    };
    QHash<QPoint, Printed> m_printed;
};

}  // namespace t1
