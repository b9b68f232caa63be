#include "documents/rtf_tables.h"

#include <algorithm>
#include <cstddef>

namespace t1::rtf {

namespace {

constexpr int kMaxFontNameLength = 64;
constexpr std::size_t kMaxTableEntries = 4096;
constexpr int kMaxColourComponent = 255;
constexpr char16_t kFirstPrintable = 0x20;
constexpr char16_t kEntryEnd = u';';

}  // namespace

void FontTable::startEntry(int number)
{
    m_entry = {};
    m_number = number;
}

void FontTable::put(char16_t c)
{
    if (c == kEntryEnd)
        commit();
    else if (c >= kFirstPrintable && m_entry.name.size() < kMaxFontNameLength)
        m_entry.name.append(QChar(c));
}

void FontTable::endGroup()
{
    if (!m_entry.name.isEmpty())
        commit();
}

const FontEntry* FontTable::find(int number) const
{
    const auto font = m_fonts.constFind(number >= 0 ? number : m_default);
    return font == m_fonts.constEnd() ? nullptr : &*font;
}

void FontTable::commit()
{
    if (m_fonts.size() < qsizetype(kMaxTableEntries) || m_fonts.contains(m_number)) {
        m_entry.name = m_entry.name.trimmed();
        m_fonts.insert(m_number, m_entry);
    }
    m_entry = {};
}

void ColourTable::begin()
{
    m_rgb = {};
    m_rgbGiven = false;
}

void ColourTable::setComponent(int index, int value)
{
    m_rgb[std::size_t(index)] = std::clamp(value, 0, kMaxColourComponent);
    m_rgbGiven = true;
}

void ColourTable::put(char16_t c)
{
    if (c != kEntryEnd)
        return;
    if (m_colours.size() < kMaxTableEntries) {
        if (m_rgbGiven)
            m_colours.emplace_back(QColor(m_rgb[0], m_rgb[1], m_rgb[2]));
        else
            m_colours.emplace_back(std::nullopt);  // the automatic colour
    }
    begin();
}

std::optional<QColor> ColourTable::at(int index) const
{
    if (index < 0 || std::size_t(index) >= m_colours.size())
        return std::nullopt;
    return m_colours[std::size_t(index)];
}

}  // namespace t1::rtf
