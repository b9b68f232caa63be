#pragma once

#include <QLocale>

namespace t1::testing {

// The default locale for the length of a test: the readouts take their
// decimal separator from it (a comma in French), whatever the machine's.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale = QLocale(QLocale::French)) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(m_saved); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale m_saved;
};

}  // namespace t1::testing
