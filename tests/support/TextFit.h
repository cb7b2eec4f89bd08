#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

class QWidget;

namespace testing_support {

// The texts that a window's controls cut, as "objectName: text", one per
// control: every visible label, button, option, tool button that shows its
// text, text box holding a text and column heading (of list and tree views)
// whose text is wider or taller than the room the control gives it in its
// own font, and every tool-bar button put away behind its bar's overflow
// arrow ("bar overflow: tool tip"). Controls inside `skip` (or in it) are
// passed over. Empty when every text shows whole.
QStringList cutTexts(const QWidget* window, const QList<const QWidget*>& skip = {});
// cutTexts of the window once it is shown and exposed; a window that does not
// show gives "not shown".
QStringList cutTextsOnScreen(QWidget& window, const QList<const QWidget*>& skip = {});

// The program's fonts (platform::ui::useDesignFonts) for the life of the
// object; the application's font and substitutions as they were afterwards.
class DesignFonts
{
public:
    DesignFonts();
    ~DesignFonts();
    DesignFonts(const DesignFonts&) = delete;
    DesignFonts& operator=(const DesignFonts&) = delete;

private:
    QFont m_font;
    QStringList m_substituted;
};

} // namespace testing_support
