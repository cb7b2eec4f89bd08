#pragma once

#include <QLocale>

namespace testing_support {

// Chooses the default locale for one scope and puts the C locale back.
struct LocaleScope
{
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
};

} // namespace testing_support
