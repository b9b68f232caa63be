#include "lab_window/mnemonics.h"

#include <QList>

namespace t1 {

namespace {

// Only what a keyboard types with Alt: ASCII letters and digits.
bool typeable(QChar c)
{
    return c.unicode() < 128 && c.isLetterOrNumber();
}

}  // namespace

QChar mnemonicOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toLower();
        ++i;  // "&&" is an ampersand
    }
    return {};
}

void Mnemonics::reserve(const QString& caption)
{
    if (const QChar c = mnemonicOf(caption); !c.isNull())
        m_everywhere += c;
}

bool Mnemonics::isFree(QChar c, int set) const
{
    const QChar lower = c.toLower();
    if (!typeable(c) || m_everywhere.contains(lower))
        return false;
    if (set != kEverywhere) {
        const auto own = m_sets.find(set);
        return own == m_sets.end() || !own->second.contains(lower);
    }
    for (const auto& [key, letters] : m_sets)
        if (letters.contains(lower))
            return false;
    return true;
}

QString Mnemonics::mark(const QString& caption, const QString& preferred, int set)
{
    if (!mnemonicOf(caption).isNull()) {
        reserve(caption);
        return caption;
    }
    // Where each candidate stands in the caption, best first.
    QList<qsizetype> candidates;
    for (const QChar c : preferred)
        if (const qsizetype at = caption.indexOf(c); at >= 0)
            candidates << at;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (i == 0 || caption[i - 1] == QLatin1Char(' '))
            candidates << i;
    for (qsizetype i = 0; i < caption.size(); ++i)
        candidates << i;
    for (const qsizetype at : candidates) {
        if (!isFree(caption[at], set))
            continue;
        (set == kEverywhere ? m_everywhere : m_sets[set]) += caption[at].toLower();
        QString marked = caption;
        marked.insert(at, QLatin1Char('&'));
        return marked;
    }
    return caption;
}

}  // namespace t1
