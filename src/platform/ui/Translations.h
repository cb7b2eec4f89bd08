#pragma once

#include <QLocale>

#include <memory>

class QTranslator;

namespace platform::ui {

// Installs Qt's own translations (the texts of standard buttons and dialogs)
// for the language of `locale`, from Qt's translations folder. They stay in
// force while the returned translator lives; nullptr when Qt has none for
// that language.
std::unique_ptr<QTranslator> installQtTranslations(const QLocale& locale);

} // namespace platform::ui
