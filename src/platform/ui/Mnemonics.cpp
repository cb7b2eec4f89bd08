#include "platform/ui/Mnemonics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QShortcutEvent>

namespace platform::ui {

namespace {

// The control that a mnemonic `key` gives the focus to when `w` holds it, or
// nullptr when `w` holds another one or none.
QWidget* mnemonicTarget(QWidget* w, const QKeySequence& key)
{
    if (!w->isVisible() || !w->isEnabled()) {
        return nullptr;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->shortcut() == key ? button : nullptr;
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        QWidget* buddy = label->buddy();
        return buddy && buddy->isEnabled() && QKeySequence::mnemonic(label->text()) == key ? buddy : nullptr;
    }
    return nullptr;
}

class MnemonicCycler : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut) {
            return false;
        }
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        auto* receiver = qobject_cast<QWidget*>(watched);
        if (!shortcut->isAmbiguous() || !receiver || !mnemonicTarget(receiver, shortcut->key())) {
            return false;
        }
        QWidget* window = receiver->window();
        QWidget* focus = window->focusWidget();
        QWidget* start = focus ? focus : window;
        // The focus chain is a ring through every widget of the window.
        for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
            if (w->window() != window) {
                continue;
            }
            QWidget* target = mnemonicTarget(w, shortcut->key());
            if (target && target != focus) {
                target->setFocus(Qt::ShortcutFocusReason);
                return true;
            }
        }
        return false;
    }
};

} // namespace

std::unique_ptr<QObject> installMnemonicCycling()
{
    auto cycler = std::make_unique<MnemonicCycler>();
    QCoreApplication::instance()->installEventFilter(cycler.get());
    return cycler;
}

} // namespace platform::ui
