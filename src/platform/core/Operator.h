#pragma once

#include <QString>

#include <optional>

namespace platform {

// Message-box styles and answers, with the numbers that the program's code
// passes and compares.
namespace msgbox {
enum Style : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};
enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
} // namespace msgbox

// Every question the program puts to the person at the screen. The program's
// main() installs the Qt implementation in the program context (Runtime);
// tests install a scripted one.
class Operator
{
public:
    virtual ~Operator() = default;

    // Returns one of msgbox::Answer. An empty title means the program's name.
    virtual int MsgBox(const QString& prompt, int style = msgbox::OKOnly, const QString& title = {}) = 0;
    // A message with the one button Aceptar and the icon of `style` (16, 64,
    // 32 or 48; any other value a neutral icon), captioned `title`. With
    // `waitSeconds` above 0 it closes by itself after that many seconds.
    // Returns when it is closed.
    virtual void TimedMsgBox(const QString& prompt, int style, const QString& title, int waitSeconds) = 0;
    // The typed text, or nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title = {},
                                            const QString& defaultText = {}) = 0;
    // The chosen path, or nullopt when cancelled. `filter` is a list of
    // "Description|*.ext" pairs joined by "|".
    virtual std::optional<QString> OpenFile(const QString& title, const QString& filter,
                                            const QString& folder = {}) = 0;
    virtual std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                            const QString& suggestedName = {}) = 0;
};

} // namespace platform
