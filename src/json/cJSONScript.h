#pragma once

#include "platform/core/Dictionary.h"
#include "platform/core/Variant.h"

#include <QHash>
#include <QString>

#include <cstdint>

namespace json {

// Runs small scripts written as JSON: a script is an array whose elements are
// texts (copied to the output) or objects whose keys are commands (alert,
// input, switch, set, get, if, return; any other key is left in the output
// as "<%KEY(parameters)%>"). Message and input boxes go to the operator;
// set and get keep named texts in the instance across Eval calls, and share
// them with the outputs that read them rather than copying them.
//
// Nothing raises: a script that does not parse, or that is not an array of
// texts, nulls, objects and arrays, is shown in the "Parser Error" box and
// gives an empty text; a command whose argument has the wrong shape gives
// "ERROR: ..." in place of its output, as a call past the nesting limit does,
// as an output of more than 16,777,216 characters does for the command, or
// the script, that would give it, and as memory running out does for the
// call it ran out in. The variables, the outputs being gathered and the texts
// that commands keep while they run others hold at most 67,108,864
// characters together; a command that would hold more gives
// "ERROR: Output too long." as well.
class cJSONScript
{
public:
    // Parses and runs `sJSON`; the concatenated output.
    QString Eval(const QString& sJSON);
    // The output of one value; used recursively, at most 41 calls deep.
    QString ExecCommand(const platform::Variant& value);

    // A variable's name: its type is part of it, so the number 1 and the
    // text "1" name two variables, while 1.50 and 1.5 name one.
    struct VariableName
    {
        platform::VariantType type;
        QString text;
        bool operator==(const VariableName&) const = default;
    };

private:
    class HeldText;

    QString ExecValue(const platform::Variant& value);
    QString ExecObject(const platform::Dictionary& commands);
    QString Alert(const platform::Dictionary& argument);
    QString Input(const platform::Dictionary& argument);
    QString Switch(const platform::Dictionary& argument);
    QString Set(const platform::Dictionary& argument);
    QString Get(const platform::Dictionary& argument);
    QString If(const platform::Dictionary& argument);

    // Calls of ExecCommand under way.
    int32_t NestingDepth = 0;
    // Variable names to texts.
    QHash<VariableName, QString> Variables;
    // Characters held by Variables and by the live HeldTexts.
    qsizetype m_held = 0;
};

size_t qHash(const cJSONScript::VariableName& name, size_t seed = 0);

} // namespace json
