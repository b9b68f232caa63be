#pragma once

#include <QString>

#include <map>

namespace t1 {

// Gives a form's captions mnemonics that do not clash. A letter marked with
// '&' by hand is kept; otherwise the caption takes the first free one among
// its preferred letters (a symbol's), then its words' first letters, then
// any of its letters or digits; none when all are taken. Captions of one
// set, shown only apart from another set's (the fields of two regulator
// kinds), may share letters with that set, never with the rest.
class Mnemonics {
public:
    static constexpr int kEverywhere = -1;

    // The letter a caption marked by hand uses.
    void reserve(const QString& caption);
    QString mark(const QString& caption, const QString& preferred = {}, int set = kEverywhere);

private:
    bool isFree(QChar c, int set) const;

    QString m_everywhere;
    std::map<int, QString> m_sets;
};

// The letter a caption's '&' marks, lower case; none without one.
QChar mnemonicOf(const QString& caption);

}  // namespace t1
