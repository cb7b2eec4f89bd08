#pragma once

#include "platform/core/Operator.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace testing_support {

// Answers the program's questions from a queue that the test fills in order.
// A question the queue does not expect fails the test and is answered with
// Cancel (or a cancelled input), so the code under test never hangs.
class ScriptedOperator final : public platform::Operator
{
public:
    enum class Kind { MsgBox, TimedMsgBox, InputBox, OpenFile, SaveFile };

    struct Question
    {
        Kind kind;
        QString prompt;
        QString title;
        int style = 0;
        // The timed message's wait in seconds.
        int wait = 0;
        // The input box's default text.
        QString defaultText;
        // The file dialog's filter.
        QString filter;
    };

    // Expect a message box whose prompt contains `promptPart` (any when empty).
    ScriptedOperator& answerMsgBox(int answer, const QString& promptPart = {});
    // Expect a timed message (closed with Aceptar) whose prompt contains `promptPart`.
    ScriptedOperator& answerTimedMsgBox(const QString& promptPart = {});
    ScriptedOperator& answerInput(std::optional<QString> text, const QString& promptPart = {});
    ScriptedOperator& answerOpenFile(std::optional<QString> path);
    ScriptedOperator& answerSaveFile(std::optional<QString> path);

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    void TimedMsgBox(const QString& prompt, int style, const QString& title, int waitSeconds) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> OpenFile(const QString& title, const QString& filter, const QString& folder) override;
    std::optional<QString> SaveFile(const QString& title, const QString& filter, const QString& suggestedName) override;

    // Every question asked so far, in order.
    const QList<Question>& asked() const { return m_asked; }
    // Answers still waiting in the queue.
    std::size_t pending() const { return m_queue.size(); }

private:
    struct Scripted
    {
        Kind kind;
        QString promptPart;
        int answer = 0;
        std::optional<QString> text;
    };
    const Scripted* take(Kind kind, const QString& prompt);

    std::deque<Scripted> m_queue;
    Scripted m_current;
    QList<Question> m_asked;
};

// Installs a fresh ScriptedOperator into the program's runtime and returns it.
ScriptedOperator& installScriptedOperator();

} // namespace testing_support
