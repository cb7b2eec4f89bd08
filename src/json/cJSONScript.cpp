#include "json/cJSONScript.h"

#include "json/JSON.h"
#include "json/cStringBuilder.h"
#include "platform/core/Collection.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QHash>
#include <QStringList>

#include <new>
#include <optional>

namespace json {

namespace {

using platform::Dictionary;
using platform::Variant;
using platform::VariantType;

// Calls that find more than this many calls under way do not run.
constexpr int32_t kMaxNestingDepth = 40;

// The output of a script, and of each command, stays within this many
// characters: a few commands that set a variable to itself twice would
// otherwise double it past any memory.
constexpr qsizetype kMaxOutput = qsizetype(1) << 24;

// What one script holds at once stays within this many characters: copies
// of one long variable into others would otherwise fill any memory.
constexpr qsizetype kMaxHeld = qsizetype(1) << 26;

QString outputTooLong()
{
    return QStringLiteral("ERROR: Output too long.");
}

QString outOfMemory()
{
    return QStringLiteral("ERROR: Out of memory.");
}

QString argumentError(const QString& command)
{
    return QStringLiteral("ERROR: Invalid argument for ") + command + u'.';
}

// The text of a parameter that the interpreter reads as it stands (a name,
// a comparison type, a case): a text, number or Boolean, and "" when the
// parameter is absent. Null, objects and arrays have none.
std::optional<QString> scalarText(const Variant& value)
{
    switch (value.type()) {
    case VariantType::Null:
    case VariantType::Dictionary:
    case VariantType::Collection:
    case VariantType::Binary:
        return std::nullopt;
    default:
        return value.toText();
    }
}

// The parameters of a command the interpreter does not know: the argument
// when it is a text, an object's member values joined by ",", nothing for an
// array; nullopt for any other argument or member value.
std::optional<QString> unknownCommandParameters(const Variant& argument)
{
    if (argument.type() == VariantType::Text) {
        return argument.toText();
    }
    if (argument.type() == VariantType::Collection) {
        return QString();
    }
    const auto members = argument.toDictionary();
    if (!members) {
        return std::nullopt;
    }
    QStringList texts;
    for (const Dictionary::Entry& member : *members) {
        const auto text = scalarText(member.value);
        if (!text) {
            return std::nullopt;
        }
        texts.append(*text);
    }
    return texts.join(u',');
}

// Gives the nesting depth back on every way out of a call.
class DepthGuard
{
public:
    explicit DepthGuard(int32_t& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int32_t& m_depth;
};

} // namespace

size_t qHash(const cJSONScript::VariableName& name, size_t seed)
{
    return qHashMulti(seed, int(name.type), name.text);
}

// A text that a call gathers, or keeps while it runs others, counted against
// what the script holds for as long as it lives. A text taken in whole is
// shared with where it came from; pieces are gathered in a string builder.
class cJSONScript::HeldText
{
public:
    explicit HeldText(cJSONScript& script) : m_script(script) {}
    ~HeldText() { m_script.m_held -= m_length; }
    HeldText(const HeldText&) = delete;
    HeldText& operator=(const HeldText&) = delete;

    // Adds `piece`; false, with nothing added, when the text would pass
    // kMaxOutput characters or the script would hold more than kMaxHeld.
    bool Append(const QString& piece)
    {
        if (piece.isEmpty()) {
            return true;
        }
        if (m_length + piece.size() > kMaxOutput || m_script.m_held + piece.size() > kMaxHeld) {
            return false;
        }
        if (m_length == 0) {
            m_first = piece;
        } else {
            if (!m_first.isEmpty()) {
                m_builder.Append(m_first);
                m_first.clear();
            }
            m_builder.Append(piece);
        }
        m_length += piece.size();
        m_script.m_held += piece.size();
        return true;
    }

    QString toString() const { return m_first.isEmpty() ? m_builder.toString() : m_first; }

private:
    cJSONScript& m_script;
    // The text while it is one piece.
    QString m_first;
    cStringBuilder m_builder;
    qsizetype m_length = 0;
};

QString cJSONScript::Eval(const QString& sJSON)
{
    try {
        const Variant document = ParseDocument(sJSON);
        QString problem = LastParseErrors();
        const auto script = document.toCollection();
        if (problem.isEmpty() && !script) {
            problem = QStringLiteral("Invalid script: a script is an array of texts and commands");
        }
        if (problem.isEmpty()) {
            qsizetype position = 0;
            for (const Variant& element : *script) {
                ++position;
                if (element.type() == VariantType::Decimal || element.type() == VariantType::Boolean) {
                    problem = QStringLiteral("Invalid script element %1: a number or a Boolean is no text or command")
                                  .arg(position);
                    break;
                }
            }
        }
        if (!problem.isEmpty()) {
            platform::op().MsgBox(problem, platform::msgbox::Exclamation, QStringLiteral("Parser Error"));
            return {};
        }
        HeldText output(*this);
        for (const Variant& element : *script) {
            QString text;
            switch (element.type()) {
            case VariantType::Null:
                text = QStringLiteral("null");
                break;
            case VariantType::Date:
            case VariantType::Text:
                text = element.toText();
                break;
            default:
                text = ExecCommand(element);
                break;
            }
            if (!output.Append(text)) {
                return outputTooLong();
            }
        }
        return output.toString();
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

QString cJSONScript::ExecCommand(const Variant& value)
{
    if (NestingDepth > kMaxNestingDepth) {
        return QStringLiteral("ERROR: Nesting level exceeded.");
    }
    const DepthGuard guard(NestingDepth);
    // Memory running out ends this call alone, as the nesting limit does;
    // what it held is given back as it unwinds.
    try {
        return ExecValue(value);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

QString cJSONScript::ExecValue(const Variant& value)
{
    switch (value.type()) {
    case VariantType::Null:
        return QStringLiteral("null");
    case VariantType::Boolean:
        return *value.toBoolean() ? QStringLiteral("true") : QStringLiteral("false");
    // Number texts of this platform always carry "." as the decimal sign, and
    // the empty value gives an empty text.
    case VariantType::Empty:
    case VariantType::Integer:
    case VariantType::Double:
    case VariantType::Currency:
    case VariantType::Decimal:
    case VariantType::Date:
    case VariantType::Text:
        return value.toText();
    case VariantType::Collection: {
        HeldText output(*this);
        for (const Variant& element : *value.toCollection()) {
            if (!output.Append(ExecCommand(element))) {
                return outputTooLong();
            }
        }
        return output.toString();
    }
    case VariantType::Dictionary:
        return ExecObject(*value.toDictionary());
    case VariantType::Binary:
        break;
    }
    return {};
}

QString cJSONScript::ExecObject(const Dictionary& commands)
{
    using Command = QString (cJSONScript::*)(const Dictionary&);
    static const QHash<QString, Command> withParameters = {
        {QStringLiteral("alert"), &cJSONScript::Alert},   {QStringLiteral("input"), &cJSONScript::Input},
        {QStringLiteral("switch"), &cJSONScript::Switch}, {QStringLiteral("set"), &cJSONScript::Set},
        {QStringLiteral("get"), &cJSONScript::Get},       {QStringLiteral("if"), &cJSONScript::If},
    };
    HeldText output(*this);
    for (const Dictionary::Entry& entry : commands) {
        const QString command = entry.key.toLower();
        QString text;
        if (const auto found = withParameters.constFind(command); found != withParameters.constEnd()) {
            const auto argument = entry.value.toDictionary();
            text = argument ? (this->*found.value())(*argument) : argumentError(command);
        } else if (command == u"return") {
            text = entry.value.type() == VariantType::Text ? entry.value.toText() : argumentError(command);
        } else {
            const QString name = entry.key.toUpper();
            const auto parameters = unknownCommandParameters(entry.value);
            text = parameters ? QStringLiteral("<%") + name + u'(' + *parameters + QStringLiteral(")%>")
                              : argumentError(name);
        }
        if (!output.Append(text)) {
            return outputTooLong();
        }
    }
    return output.toString();
}

QString cJSONScript::Alert(const Dictionary& argument)
{
    HeldText message(*this);
    if (!message.Append(ExecCommand(argument.value(QStringLiteral("message"))))) {
        return outputTooLong();
    }
    const QString title = ExecCommand(argument.value(QStringLiteral("title")));
    platform::op().MsgBox(message.toString(), platform::msgbox::Information, title);
    return {};
}

QString cJSONScript::Input(const Dictionary& argument)
{
    HeldText prompt(*this);
    HeldText title(*this);
    if (!prompt.Append(ExecCommand(argument.value(QStringLiteral("prompt")))) ||
        !title.Append(ExecCommand(argument.value(QStringLiteral("title"))))) {
        return outputTooLong();
    }
    const QString defaultText = ExecCommand(argument.value(QStringLiteral("default")));
    return platform::op().InputBox(prompt.toString(), title.toString(), defaultText).value_or(QString());
}

QString cJSONScript::Switch(const Dictionary& argument)
{
    // The items are checked before anything runs, so a rejected switch asks nothing.
    const Variant items = argument.value(QStringLiteral("items"));
    const auto list = items.toCollection();
    if (!items.isEmpty() && !list) {
        return argumentError(QStringLiteral("switch"));
    }
    if (list) {
        for (const Variant& item : *list) {
            const auto fields = item.toDictionary();
            if (!fields) {
                return argumentError(QStringLiteral("switch"));
            }
            const Variant itemCase = fields->value(QStringLiteral("case"));
            if (!itemCase.isNull() && !scalarText(itemCase)) {
                return argumentError(QStringLiteral("switch"));
            }
        }
    }
    HeldText result(*this);
    if (!result.Append(ExecCommand(argument.value(QStringLiteral("default"))))) {
        return outputTooLong();
    }
    HeldText key(*this);
    if (!key.Append(ExecCommand(argument.value(QStringLiteral("case"))).toLower())) {
        return outputTooLong();
    }
    if (list) {
        const QString caseKey = key.toString();
        for (const Variant& item : *list) {
            const auto fields = item.toDictionary();
            // A null case never matches.
            const auto itemCase = scalarText(fields->value(QStringLiteral("case")));
            if (itemCase && itemCase->toLower() == caseKey) {
                return ExecCommand(fields->value(QStringLiteral("return")));
            }
        }
    }
    return result.toString();
}

QString cJSONScript::Set(const Dictionary& argument)
{
    const Variant nameValue = argument.value(QStringLiteral("name"));
    const auto name = scalarText(nameValue);
    if (!name) {
        return argumentError(QStringLiteral("set"));
    }
    const QString value = ExecCommand(argument.value(QStringLiteral("value")));
    const VariableName key{nameValue.type(), *name};
    const auto found = Variables.constFind(key);
    const qsizetype replaced = found == Variables.constEnd() ? 0 : found->size();
    if (m_held - replaced + value.size() > kMaxHeld) {
        return outputTooLong();
    }
    Variables.insert(key, value);
    m_held += value.size() - replaced;
    return {};
}

QString cJSONScript::Get(const Dictionary& argument)
{
    const Variant nameValue = argument.value(QStringLiteral("name"));
    const auto name = scalarText(nameValue);
    if (!name) {
        return argumentError(QStringLiteral("get"));
    }
    // A variable never set reads as empty.
    const auto found = Variables.constFind(VariableName{nameValue.type(), *name});
    QString output = ExecCommand(found == Variables.constEnd() ? Variant() : Variant(*found));
    if (output.isEmpty()) {
        output = ExecCommand(argument.value(QStringLiteral("default")));
    }
    return output;
}

QString cJSONScript::If(const Dictionary& argument)
{
    const Variant typeValue = argument.value(QStringLiteral("type"));
    const auto type = scalarText(typeValue);
    // Null names no comparison, as any other text that is none; an object or
    // an array is no type at all.
    if (!type && !typeValue.isNull()) {
        return argumentError(QStringLiteral("if"));
    }
    HeldText first(*this);
    HeldText second(*this);
    if (!first.Append(ExecCommand(argument.value(QStringLiteral("value1")))) ||
        !second.Append(ExecCommand(argument.value(QStringLiteral("value2"))))) {
        return outputTooLong();
    }
    const QString a = first.toString();
    const QString b = second.toString();
    const QString kind = type ? type->toLower() : QString();
    // Besides "eq", comparisons are by code unit: "10" is below "9".
    const int order = QString::compare(a, b, Qt::CaseSensitive);
    bool holds = false;
    if (kind == u"eq") {
        holds = platform::text::EqualsNoCase(a, b);
    } else if (kind == u"gt") {
        holds = order > 0;
    } else if (kind == u"lt") {
        holds = order < 0;
    } else if (kind == u"gte") {
        holds = order >= 0;
    } else if (kind == u"lte") {
        holds = order <= 0;
    }
    return ExecCommand(argument.value(holds ? QStringLiteral("true") : QStringLiteral("false")));
}

} // namespace json
