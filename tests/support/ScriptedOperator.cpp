#include "support/ScriptedOperator.h"

#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {

const char* kindName(ScriptedOperator::Kind kind)
{
    switch (kind) {
    case ScriptedOperator::Kind::MsgBox:
        return "message box";
    case ScriptedOperator::Kind::TimedMsgBox:
        return "timed message box";
    case ScriptedOperator::Kind::InputBox:
        return "input box";
    case ScriptedOperator::Kind::OpenFile:
        return "open-file dialog";
    case ScriptedOperator::Kind::SaveFile:
        return "save-file dialog";
    }
    return "?";
}

} // namespace

ScriptedOperator& ScriptedOperator::answerMsgBox(int answer, const QString& promptPart)
{
    m_queue.push_back({Kind::MsgBox, promptPart, answer, std::nullopt});
    return *this;
}

ScriptedOperator& ScriptedOperator::answerTimedMsgBox(const QString& promptPart)
{
    m_queue.push_back({Kind::TimedMsgBox, promptPart, 0, std::nullopt});
    return *this;
}

ScriptedOperator& ScriptedOperator::answerInput(std::optional<QString> text, const QString& promptPart)
{
    m_queue.push_back({Kind::InputBox, promptPart, 0, std::move(text)});
    return *this;
}

ScriptedOperator& ScriptedOperator::answerOpenFile(std::optional<QString> path)
{
    m_queue.push_back({Kind::OpenFile, {}, 0, std::move(path)});
    return *this;
}

ScriptedOperator& ScriptedOperator::answerSaveFile(std::optional<QString> path)
{
    m_queue.push_back({Kind::SaveFile, {}, 0, std::move(path)});
    return *this;
}

const ScriptedOperator::Scripted* ScriptedOperator::take(Kind kind, const QString& prompt)
{
    if (m_queue.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(kind) << ": " << prompt.toStdString();
        return nullptr;
    }
    m_current = m_queue.front();
    m_queue.pop_front();
    if (m_current.kind != kind) {
        ADD_FAILURE() << "expected a " << kindName(m_current.kind) << " but got a " << kindName(kind) << ": "
                      << prompt.toStdString();
        return nullptr;
    }
    if (!m_current.promptPart.isEmpty() && !prompt.contains(m_current.promptPart)) {
        ADD_FAILURE() << "the " << kindName(kind) << " asked \"" << prompt.toStdString() << "\", expected it to hold \""
                      << m_current.promptPart.toStdString() << "\"";
    }
    return &m_current;
}

int ScriptedOperator::MsgBox(const QString& prompt, int style, const QString& title)
{
    m_asked.append({Kind::MsgBox, prompt, title, style, 0, {}, {}});
    const Scripted* s = take(Kind::MsgBox, prompt);
    return s ? s->answer : platform::msgbox::Cancel;
}

void ScriptedOperator::TimedMsgBox(const QString& prompt, int style, const QString& title, int waitSeconds)
{
    m_asked.append({Kind::TimedMsgBox, prompt, title, style, waitSeconds, {}, {}});
    take(Kind::TimedMsgBox, prompt);
}

std::optional<QString> ScriptedOperator::InputBox(const QString& prompt, const QString& title,
                                                  const QString& defaultText)
{
    m_asked.append({Kind::InputBox, prompt, title, 0, 0, defaultText, {}});
    const Scripted* s = take(Kind::InputBox, prompt);
    return s ? s->text : std::nullopt;
}

std::optional<QString> ScriptedOperator::OpenFile(const QString& title, const QString& filter, const QString&)
{
    m_asked.append({Kind::OpenFile, title, title, 0, 0, {}, filter});
    const Scripted* s = take(Kind::OpenFile, title);
    return s ? s->text : std::nullopt;
}

std::optional<QString> ScriptedOperator::SaveFile(const QString& title, const QString& filter, const QString&)
{
    m_asked.append({Kind::SaveFile, title, title, 0, 0, {}, filter});
    const Scripted* s = take(Kind::SaveFile, title);
    return s ? s->text : std::nullopt;
}

ScriptedOperator& installScriptedOperator()
{
    auto op = std::make_unique<ScriptedOperator>();
    ScriptedOperator& ref = *op;
    platform::Runtime::instance().setOperator(std::move(op));
    return ref;
}

} // namespace testing_support
