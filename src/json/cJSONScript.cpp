#include "json/cJSONScript.h"

#include "json/JSON.h"
#include "json/cStringBuilder.h"
#include "platform/core/Collection.h"
#include "platform/core/Runtime.h"
#include "platform/core/Text.h"

#include <QHash>
#include <QStringList>

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

QString outputTooLong()
{
    return QStringLiteral("ERROR: Output too long.");
}

// Appends `text`; false, with nothing appended, when the output would pass kMaxOutput.
bool appendWithin(cStringBuilder& output, const QString& text)
{
    if (output.Length() + text.size() > kMaxOutput) {
        return false;
    }
    output.Append(text);
    return true;
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

QString cJSONScript::Eval(const QString& sJSON)
{
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
    cStringBuilder output;
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
        if (!appendWithin(output, text)) {
            return outputTooLong();
        }
    }
    return output.toString();
}

QString cJSONScript::ExecCommand(const Variant& value)
{
    if (NestingDepth > kMaxNestingDepth) {
        return QStringLiteral("ERROR: Nesting level exceeded.");
    }
    const DepthGuard guard(NestingDepth);
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
        cStringBuilder output;
        for (const Variant& element : *value.toCollection()) {
            if (!appendWithin(output, ExecCommand(element))) {
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
    cStringBuilder output;
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
        if (!appendWithin(output, text)) {
            return outputTooLong();
        }
    }
    return output.toString();
}

QString cJSONScript::Alert(const Dictionary& argument)
{
    const QString message = ExecCommand(argument.value(QStringLiteral("message")));
    const QString title = ExecCommand(argument.value(QStringLiteral("title")));
    platform::op().MsgBox(message, platform::msgbox::Information, title);
    return {};
}

QString cJSONScript::Input(const Dictionary& argument)
{
    const QString prompt = ExecCommand(argument.value(QStringLiteral("prompt")));
    const QString title = ExecCommand(argument.value(QStringLiteral("title")));
    const QString defaultText = ExecCommand(argument.value(QStringLiteral("default")));
    return platform::op().InputBox(prompt, title, defaultText).value_or(QString());
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
    QString result = ExecCommand(argument.value(QStringLiteral("default")));
    const QString key = ExecCommand(argument.value(QStringLiteral("case"))).toLower();
    if (!list) {
        return result;
    }
    for (const Variant& item : *list) {
        const auto fields = item.toDictionary();
        // A null case never matches.
        const auto itemCase = scalarText(fields->value(QStringLiteral("case")));
        if (itemCase && itemCase->toLower() == key) {
            result = ExecCommand(fields->value(QStringLiteral("return")));
            break;
        }
    }
    return result;
}

QString cJSONScript::Set(const Dictionary& argument)
{
    const auto name = scalarText(argument.value(QStringLiteral("name")));
    if (!name) {
        return argumentError(QStringLiteral("set"));
    }
    Variables.insert(*name, ExecCommand(argument.value(QStringLiteral("value"))));
    return {};
}

QString cJSONScript::Get(const Dictionary& argument)
{
    const auto name = scalarText(argument.value(QStringLiteral("name")));
    if (!name) {
        return argumentError(QStringLiteral("get"));
    }
    // A variable never set reads as empty.
    QString output = ExecCommand(Variables.value(*name));
    if (output.isEmpty()) {
        output = ExecCommand(argument.value(QStringLiteral("default")));
    }
    return output;
}

QString cJSONScript::If(const Dictionary& argument)
{
    const auto type = scalarText(argument.value(QStringLiteral("type")));
    if (!type) {
        return argumentError(QStringLiteral("if"));
    }
    const QString a = ExecCommand(argument.value(QStringLiteral("value1")));
    const QString b = ExecCommand(argument.value(QStringLiteral("value2")));
    const QString kind = type->toLower();
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
