#pragma once

#include "documents/rtf_groups.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace t1::rtf {

class Parser;

// A control word as the document gives it: its row's argument and the
// number written after the word.
struct Control {
    int argument = 0;
    bool hasParam = false;
    int param = 0;

    // For a word that turns a style on: `\b` and `\b1` do, `\b0` does not.
    bool on() const { return !hasParam || param != 0; }
};

// What a control word does, to the parts of the parser.
using Action = void (*)(Parser&, const Control&);

// The destinations a word acts in, one bit each.
enum class Where : std::uint8_t {
    Text = 1 << int(Destination::Text),
    FontTable = 1 << int(Destination::FontTable),
    ColourTable = 1 << int(Destination::ColourTable),
    NotSkipped = Text | FontTable | ColourTable,
    Anywhere = NotSkipped | 1 << int(Destination::Skip),
};

// One control word, or one control symbol by its character: what it does,
// the argument its action is given, and where it acts.
struct Row {
    std::string_view name;
    Action action = nullptr;
    int argument = 0;
    Where where = Where::NotSkipped;

    constexpr Row(std::string_view n, Action a, Where w = Where::NotSkipped) : name(n), action(a), where(w) {}
    template <typename Argument>
    constexpr Row(std::string_view n, Action a, Argument value, Where w = Where::NotSkipped)
        : name(n), action(a), argument(int(value)), where(w)
    {
    }

    bool actsIn(Destination d) const { return (unsigned(where) >> unsigned(d)) & 1U; }
};

// The row of a control word (its letters, without the backslash) or symbol;
// null for any other, which the reader ignores.
const Row* findWord(std::string_view name);
// Every row.
std::span<const Row> words();

}  // namespace t1::rtf
