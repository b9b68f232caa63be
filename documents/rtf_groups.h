#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace t1::rtf {

// Where the text of a group goes.
enum class Destination : std::uint8_t { Text, Skip, FontTable, ColourTable };
enum class Align : std::uint8_t { Left, Centre, Right, Justify };
enum class Script : std::uint8_t { Normal, Super, Sub };
// The character styles a control word turns on or off.
enum class Style : std::uint8_t { Bold, Italic, Underline, Strike, Hidden };
inline constexpr std::size_t kStyles = 5;

inline constexpr int kDefaultHalfPoints = 24;  // 12 pt, where a file starts
inline constexpr int kMaxTabStops = 32;
inline constexpr int kDefaultUnicodeSkip = 1;

struct CharProps {
    int font = -1;  // -1: the document's default font
    int halfPoints = kDefaultHalfPoints;
    int colour = 0;     // index in the colour table
    int highlight = 0;  // 0: none
    std::bitset<kStyles> styles;
    Script script = Script::Normal;

    bool has(Style s) const { return styles[std::size_t(s)]; }
    void set(Style s, bool on) { styles[std::size_t(s)] = on; }
    bool operator==(const CharProps&) const = default;
};

// Distances in twips.
struct ParaProps {
    Align align = Align::Left;
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    bool inTable = false;
    int tabCount = 0;
    std::array<int, kMaxTabStops> tabs{};
};

struct GroupState {
    CharProps ch;
    ParaProps para;
    Destination dest = Destination::Text;
    int unicodeSkip = kDefaultUnicodeSkip;  // `\ucN`: the characters after a `\u` that stand in for it
};

// The state of each open group: a group starts with its parent's and
// gives it back when it closes. Past RtfReader::kMaxGroupDepth, groups
// share the deepest state kept, so any nesting costs bounded memory.
class Groups {
public:
    GroupState& top() { return m_stack.back(); }
    const GroupState& top() const { return m_stack.back(); }
    // Open groups, the document's own included.
    std::size_t depth() const { return m_stack.size() - 1; }

    void open();
    // Whether the group closing has a state of its own to give back with pop().
    bool closing();
    void pop();

    // After a `\u`, its fallback: the group's `\ucN` characters are not text.
    void startFallback() { m_fallbackLeft = top().unicodeSkip; }
    // Whether this character is one of them, and so to be dropped.
    bool skipFallback()
    {
        if (m_fallbackLeft == 0)
            return false;
        --m_fallbackLeft;
        return true;
    }

private:
    // The bottom entry is the state outside the document's group.
    std::vector<GroupState> m_stack{GroupState{}};
    int m_overflowDepth = 0;
    int m_fallbackLeft = 0;
};

}  // namespace t1::rtf
