#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace t1::rtf {

struct FontEntry {
    QString name;
    QFont::StyleHint hint = QFont::AnyStyle;
    int codePage = 0;  // 0: the document's
};

// The fonts of a document's `\fonttbl`: read an entry at a time, each
// ended by a semicolon, then looked up by number.
class FontTable {
public:
    // `\fonttbl`.
    void begin() { m_entry = {}; }
    // `\fN` inside the table: the entry that follows is font N.
    void startEntry(int number);
    FontEntry& entry() { return m_entry; }
    const FontEntry& entry() const { return m_entry; }
    // A character of the entry's name, or the semicolon that ends it.
    void put(char16_t c);
    // A group of the table closes: an entry without its semicolon ends there.
    void endGroup();

    void setDefault(int number) { m_default = number; }
    // Null for a font the table does not hold; a negative number is the default font.
    const FontEntry* find(int number) const;

private:
    void commit();

    QHash<int, FontEntry> m_fonts;
    int m_default = 0;
    int m_number = 0;
    FontEntry m_entry;
};

// The colours of a document's `\colortbl`, each ended by a semicolon.
class ColourTable {
public:
    // `\colortbl`.
    void begin();
    // `\red`, `\green` or `\blue` (0, 1, 2) of the entry being read.
    void setComponent(int index, int value);
    // A semicolon ends the entry; other characters say nothing.
    void put(char16_t c);
    // Nothing for the automatic colour or one the table does not hold.
    std::optional<QColor> at(int index) const;

private:
    std::vector<std::optional<QColor>> m_colours;
    std::array<int, 3> m_rgb{};
    bool m_rgbGiven = false;
};

}  // namespace t1::rtf
