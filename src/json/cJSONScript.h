#pragma once

#include "platform/core/Dictionary.h"
#include "platform/core/Variant.h"

#include <QString>

#include <cstdint>

namespace json {

// Runs small scripts written as JSON: a script is an array whose elements are
// texts (copied to the output) or objects whose keys are commands (alert,
// input, switch, set, get, if, return; any other key is left in the output
// as "<%KEY(parameters)%>"). Message and input boxes go to the operator;
// set and get keep named texts in the instance across Eval calls.
//
// Nothing raises: a script that does not parse, or that is not an array of
// texts, nulls, objects and arrays, is shown in the "Parser Error" box and
// gives an empty text; a command whose argument has the wrong shape gives
// "ERROR: ..." in place of its output, as a call past the nesting limit does
// and as an output of more than 16,777,216 characters does for the command,
// or the script, that would give it.
class cJSONScript
{
public:
    // Parses and runs `sJSON`; the concatenated output.
    QString Eval(const QString& sJSON);
    // The output of one value; used recursively, at most 41 calls deep.
    QString ExecCommand(const platform::Variant& value);

private:
    QString ExecObject(const platform::Dictionary& commands);
    QString Alert(const platform::Dictionary& argument);
    QString Input(const platform::Dictionary& argument);
    QString Switch(const platform::Dictionary& argument);
    QString Set(const platform::Dictionary& argument);
    QString Get(const platform::Dictionary& argument);
    QString If(const platform::Dictionary& argument);

    // Calls of ExecCommand under way.
    int32_t NestingDepth = 0;
    // Variable names to texts, compared exactly.
    platform::Dictionary Variables;
};

} // namespace json
