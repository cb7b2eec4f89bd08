#include "AddressSpaceLimit.h"
#include "PrintQString.h"
#include "json/cJSONScript.h"
#include "platform/core/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using json::cJSONScript;
using testing_support::ScriptedOperator;
using testing_support::scriptedOperator;

namespace {

struct Case
{
    const char* script;
    const char* output;
};

void expectOutputs(std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        cJSONScript script;
        EXPECT_EQ(script.Eval(QString::fromUtf8(c.script)), QString::fromUtf8(c.output)) << c.script;
    }
    EXPECT_TRUE(scriptedOperator().asked().isEmpty());
}

// A script whose innermost text runs inside `calls` nested ExecCommand calls.
QString nestedScript(int calls)
{
    return u'[' + QString(calls - 1, u'[') + QStringLiteral("'x'") + QString(calls - 1, u']') + u']';
}

} // namespace

TEST(JSONScript, RunsTextsAndCommands)
{
    expectOutputs({
        {"['Hello ', {'return': 'world'}]", "Hello world"},
        {"[null, 'a', ['b', ['c', null]], {}, []]", "nullabcnull"},
        {"[{'return': 'a', 'RETURN': 'b'}]", "ab"},
        {"[[{'if': {'type': 'eq', 'value1': 1.50, 'value2': '1.5', 'true': true, 'false': false}}]]", "true"},
        {"[[1e2, ' ', -0.5, ' ', true, ' ', null]]", "100 -0.5 true null"},
    });
}

TEST(JSONScript, KeepsVariablesAcrossScripts)
{
    expectOutputs({
        {"[{'set': {'name': 'x', 'value': '1'}}, {'get': {'name': 'x'}}]", "1"},
        {"[{'get': {'name': 'never', 'default': 'none'}}]", "none"},
        {"[{'set': {'name': 'x', 'value': ''}}, {'get': {'name': 'x', 'default': 'empty'}}]", "empty"},
        {"[{'set': {'name': 'x', 'value': {'return': 'inner'}}}, {'get': {'name': 'X', 'default': '-'}}, "
         "{'get': {'name': 'x'}}]",
         "-inner"},
        {"[{'set': {'value': 'no name'}}, {'get': {}}]", "no name"},
    });
    cJSONScript script;
    EXPECT_EQ(script.Eval(QStringLiteral("[{'set': {'name': 'n', 'value': 'kept'}}]")), QString());
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'n'}}]")), QStringLiteral("kept"));
    script.Eval(QStringLiteral("[{'set': {'name': 'n', 'value': 'replaced'}}]"));
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'n'}}]")), QStringLiteral("replaced"));
}

TEST(JSONScript, TellsVariablesApartByTheTypeOfTheirNames)
{
    expectOutputs({
        {"[{'set': {'name': 1, 'value': 'number'}}, {'set': {'name': '1', 'value': 'text'}},"
         " {'get': {'name': 1}}, ',', {'get': {'name': '1'}}]",
         "number,text"},
        {"[{'set': {'name': true, 'value': 'Boolean'}}, {'get': {'name': 'True', 'default': '-'}}, ',',"
         " {'get': {'name': true}}]",
         "-,Boolean"},
        // Numbers name by their value, whatever their text.
        {"[{'set': {'name': 1.50, 'value': 'v'}}, {'get': {'name': 1.5}}, {'get': {'name': 15e-1}}]", "vv"},
    });
}

TEST(JSONScript, ComparesInIf)
{
    const auto ifScript = [](const char* type, const char* a, const char* b) {
        return QStringLiteral("[{'if': {'value1': '%1', 'value2': '%2', 'type': '%3', 'true': 'yes', 'false': 'no'}}]")
            .arg(QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(type));
    };
    const struct
    {
        const char* type;
        const char* a;
        const char* b;
        const char* output;
    } cases[] = {
        {"gt", "b", "a", "yes"}, {"gt", "a", "a", "no"},
        {"GT", "B", "a", "no"},  {"lt", "10", "9", "yes"},
        {"lt", "9", "10", "no"}, {"gte", "a", "a", "yes"},
        {"gte", "a", "b", "no"}, {"lte", "a", "a", "yes"},
        {"lte", "b", "a", "no"}, {"EQ", "A", "a", "yes"},
        {"eq", "a", "b", "no"},  {"ne", "a", "b", "no"},
        {"", "a", "a", "no"},    {"eq", "\u00d1", "\u00f1", "yes"},
    };
    for (const auto& c : cases) {
        cJSONScript script;
        EXPECT_EQ(script.Eval(ifScript(c.type, c.a, c.b)), QString::fromUtf8(c.output)) << c.type << " " << c.a;
    }
    expectOutputs({
        {"[{'if': {'value1': {'return': 'x'}, 'value2': 'X', 'type': 'eq', 'true': {'return': 'same'}}}]", "same"},
        {"[{'if': {'value1': 'a', 'value2': 'b', 'type': 'eq', 'true': 'same'}}]", ""},
        // A type that names no comparison, null among them, is false.
        {"[{'if': {'value1': 'a', 'value2': 'a', 'type': null, 'true': 'yes', 'false': 'no'}}]", "no"},
        {"[{'if': {'value1': 'a', 'value2': 'a', 'true': 'yes', 'false': 'no'}}]", "no"},
    });
}

TEST(JSONScript, SwitchesOnTheFirstMatchingCase)
{
    expectOutputs({
        {"[{'switch': {'case': 'B', 'default': 'none', 'items': [{'case': 'b', 'return': 'found'}]}}]", "found"},
        {"[{'switch': {'case': 'c', 'default': 'none', 'items': [{'case': 'b', 'return': 'found'}]}}]", "none"},
        {"[{'switch': {'case': 'a', 'items': [{'case': 'A', 'return': '1'}, {'case': 'a', 'return': '2'}]}}]", "1"},
        {"[{'switch': {'case': {'return': '2'}, 'items': [{'case': 2, 'return': {'return': 'two'}}]}}]", "two"},
        {"[{'switch': {'case': 'x', 'default': 'only default'}}]", "only default"},
        {"[{'switch': {'items': [{'case': null, 'return': 'null'}, {'return': 'absent'}]}}]", "absent"},
    });
}

TEST(JSONScript, LeavesUnknownCommandsAsText)
{
    expectOutputs({
        {"[{'Print': {'a': '1', 'b': '2'}}]", "<%PRINT(1,2)%>"},
        {"[{'field': 'name'}]", "<%FIELD(name)%>"},
        {"[{'page': []}, {'total': {}}]", "<%PAGE()%><%TOTAL()%>"},
        {"[{'fmt': {'n': 1.50, 'b': true}}]", "<%FMT(1.5,True)%>"},
        {"['a', {'x': 'y', 'return': 'b'}, 'c']", "a<%X(y)%>bc"},
    });
}

TEST(JSONScript, AsksThroughAlertAndInput)
{
    ScriptedOperator& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK, QStringLiteral("Saved"));
    op.answerInput(QStringLiteral("12"), QStringLiteral("How many?"));
    op.answerInput(std::nullopt, QStringLiteral("Again?"));
    cJSONScript script;
    const QString output = script.Eval(
        QStringLiteral("[{'alert': {'message': {'return': 'Saved'}, 'title': 'Shop'}}, '<',"
                       " {'input': {'prompt': 'How many?', 'title': 'Count', 'default': {'return': '1'}}}, '|',"
                       " {'input': {'prompt': 'Again?'}}, '>']"));
    EXPECT_EQ(output, QStringLiteral("<12|>"));
    ASSERT_EQ(op.asked().size(), 3);
    EXPECT_EQ(op.asked()[0].title, QStringLiteral("Shop"));
    EXPECT_EQ(op.asked()[0].style, platform::msgbox::Information);
    EXPECT_EQ(op.asked()[1].title, QStringLiteral("Count"));
    EXPECT_EQ(op.asked()[1].defaultText, QStringLiteral("1"));
    EXPECT_EQ(op.asked()[2].title, QString());
    EXPECT_EQ(op.asked()[2].defaultText, QString());
}

TEST(JSONScript, StopsPastTheNestingLimit)
{
    cJSONScript script;
    EXPECT_EQ(script.Eval(nestedScript(41)), QStringLiteral("x"));
    EXPECT_EQ(script.Eval(nestedScript(42)), QStringLiteral("ERROR: Nesting level exceeded."));
    EXPECT_EQ(script.Eval(nestedScript(60)), QStringLiteral("ERROR: Nesting level exceeded."));
    // The enclosing calls go on, and later scripts start from the top again.
    EXPECT_EQ(script.Eval(QStringLiteral("[") + nestedScript(42) + QStringLiteral(", 'after']")),
              QStringLiteral("ERROR: Nesting level exceeded.after"));
    EXPECT_EQ(script.Eval(nestedScript(41)), QStringLiteral("x"));
}

// A script that sets x to "ab" and then `times` times to itself twice,
// found by fuzzing: 31 times would ask for 2^32 characters.
QString doublingScript(int times)
{
    QString script = QStringLiteral("[{'set': {'name': 'x', 'value': 'ab'}}");
    for (int i = 0; i < times; ++i) {
        script += QStringLiteral(", {'set': {'name': 'x', 'value': [{'get': {'name': 'x'}}, {'get': {'name': 'x'}}]}}");
    }
    return script + u']';
}

TEST(JSONScript, AnOutputPastTheLimitIsAnErrorText)
{
    const QString tooLong = QStringLiteral("ERROR: Output too long.");
    cJSONScript script;
    EXPECT_EQ(script.Eval(doublingScript(23)), QString());
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'x'}}]")).size(), qsizetype(1) << 24);
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'x'}}, '!']")), tooLong);
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'x'}, 'return': '!'}]")), tooLong);
    EXPECT_EQ(script.Eval(doublingScript(24)), QString());
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'x'}}]")), tooLong);
    EXPECT_EQ(script.Eval(doublingScript(31)), QString());
    EXPECT_TRUE(script.Eval(QStringLiteral("[{'get': {'name': 'x'}}]")).startsWith(tooLong));
}

TEST(JSONScript, AScriptHoldsAtMost64MCharacters)
{
    const QString tooLong = QStringLiteral("ERROR: Output too long.");
    cJSONScript script;
    // x holds 2^23 characters; with seven copies of it the variables hold 2^26.
    EXPECT_EQ(script.Eval(doublingScript(22)), QString());
    QString copies = QStringLiteral("[");
    for (int i = 1; i <= 8; ++i) {
        copies += QStringLiteral("{'set': {'name': 'y%1', 'value': {'get': {'name': 'x'}}}}").arg(i);
    }
    EXPECT_EQ(script.Eval(copies + u']'), tooLong);
    // Even a short text no longer fits.
    EXPECT_EQ(script.Eval(QStringLiteral("['a']")), tooLong);
    EXPECT_EQ(script.Eval(QStringLiteral("[{'set': {'name': 'x', 'value': ''}}]")), QString());
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'y8', 'default': 'not set'}}]")),
              QStringLiteral("not set"));
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'y7'}}]")).size(), qsizetype(1) << 23);
}

TEST(JSONScript, CountsTheTextsACommandKeepsWhileItRunsOthers)
{
    const QString tooLong = QStringLiteral("ERROR: Output too long.");
    cJSONScript script;
    // x and y hold 2^24 characters and z 2^23, 40 M of the 64 M a script may
    // hold: a command that keeps x while it runs others cannot read x again.
    script.Eval(doublingScript(22));
    script.Eval(QStringLiteral("[{'set': {'name': 'z', 'value': {'get': {'name': 'x'}}}},"
                               " {'set': {'name': 'x', 'value': [{'get': {'name': 'x'}}, {'get': {'name': 'x'}}]}},"
                               " {'set': {'name': 'y', 'value': {'get': {'name': 'x'}}}}]"));
    const QString x = QStringLiteral("{'get': {'name': 'x'}}");
    EXPECT_EQ(script.Eval(QStringLiteral("[{'if': {'value1': %1, 'value2': %1, 'type': 'eq', 'true': 'read twice',"
                                         " 'false': 'kept'}}]")
                              .arg(x)),
              QStringLiteral("kept"));
    EXPECT_EQ(script.Eval(QStringLiteral("[{'switch': {'default': %1, 'case': %1,"
                                         " 'items': [{'case': 'ERROR: Output too long.', 'return': 'kept'}]}}]")
                              .arg(x)),
              QStringLiteral("kept"));
    ScriptedOperator& op = scriptedOperator();
    op.answerMsgBox(platform::msgbox::OK);
    op.answerInput(std::nullopt);
    EXPECT_EQ(script.Eval(QStringLiteral("[{'alert': {'message': %1, 'title': %1}}]").arg(x)), QString());
    EXPECT_EQ(script.Eval(QStringLiteral("[{'input': {'prompt': %1, 'title': %1, 'default': %1}}]").arg(x)), QString());
    ASSERT_EQ(op.asked().size(), 2);
    EXPECT_EQ(op.asked()[0].prompt.size(), qsizetype(1) << 24);
    EXPECT_EQ(op.asked()[0].title, tooLong);
    EXPECT_EQ(op.asked()[1].title, tooLong);
    EXPECT_EQ(op.asked()[1].defaultText, tooLong);
}

TEST(JSONScript, GetAndSetShareAValue)
{
    cJSONScript script;
    script.Eval(QStringLiteral("[{'set': {'name': 'x', 'value': ['ab', 'cd']}}]"));
    const QString x = script.Eval(QStringLiteral("[{'get': {'name': 'x'}}]"));
    script.Eval(QStringLiteral("[{'set': {'name': 'y', 'value': [[{'get': {'name': 'x'}}]]}}]"));
    const QString y = script.Eval(QStringLiteral("[{'get': {'name': 'y'}}]"));
    EXPECT_EQ(x, QStringLiteral("abcd"));
    EXPECT_EQ(y, QStringLiteral("abcd"));
    EXPECT_EQ(x.constData(), y.constData());
    // A shared value is copied only where it changes.
    script.Eval(QStringLiteral("[{'set': {'name': 'x', 'value': 'new'}}]"));
    EXPECT_EQ(script.Eval(QStringLiteral("[{'get': {'name': 'x'}}, {'get': {'name': 'y'}}]")),
              QStringLiteral("newabcd"));
}

// Runs a script that doubles x to 2^24 characters with little memory to
// spare and exits with 0 when the call that ran out gave its error text,
// which x then holds, and the interpreter then works again.
[[noreturn]] void runWithLittleMemory()
{
    cJSONScript script;
    QString output = QStringLiteral("no limit");
    {
        const json_tests::AddressSpaceLimit limit(4 << 20);
        if (limit.isSet()) {
            output = script.Eval(doublingScript(23));
        }
    }
    const QString x = script.Eval(QStringLiteral("[{'get': {'name': 'x'}}]"));
    const QString after = script.Eval(QStringLiteral("['still ', {'return': 'runs'}]"));
    std::fprintf(stderr, "output \"%s\", x \"%s\", after \"%s\"\n", qPrintable(output), qPrintable(x.left(60)),
                 qPrintable(after));
    const bool ranOut = output.isEmpty() && x.startsWith(QStringLiteral("ERROR: Out of memory."));
    std::exit(ranOut && after == QStringLiteral("still runs") ? 0 : 1);
}

TEST(JSONScript, MemoryRunningOutIsAnErrorText)
{
    if (!json_tests::AddressSpaceLimit::available()) {
        GTEST_SKIP() << "no address-space limit under the address sanitizer";
    }
    // In a fresh process, whose heap holds nothing that earlier tests freed.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runWithLittleMemory(), testing::ExitedWithCode(0), "");
}

TEST(JSONScript, GivesTheDepthBackWhenACommandIsRejected)
{
    cJSONScript script;
    for (int i = 0; i < 50; ++i) {
        script.Eval(QStringLiteral("[[{'alert': 'not an object'}, {'switch': {'items': 'x'}}]]"));
    }
    EXPECT_EQ(script.Eval(nestedScript(41)), QStringLiteral("x"));
    EXPECT_EQ(script.ExecCommand(QStringLiteral("direct")), QStringLiteral("direct"));
}

TEST(JSONScript, RejectsArgumentsOfTheWrongShape)
{
    expectOutputs({
        {"[{'alert': 'text'}]", "ERROR: Invalid argument for alert."},
        {"[{'input': 5}]", "ERROR: Invalid argument for input."},
        {"[{'set': null}]", "ERROR: Invalid argument for set."},
        {"[{'set': {'name': {'a': 1}, 'value': 'v'}}]", "ERROR: Invalid argument for set."},
        {"[{'get': true}]", "ERROR: Invalid argument for get."},
        {"[{'get': {'name': null}}]", "ERROR: Invalid argument for get."},
        {"[{'if': ['a']}]", "ERROR: Invalid argument for if."},
        {"[{'if': {'type': ['eq']}}]", "ERROR: Invalid argument for if."},
        {"[{'switch': 'x'}]", "ERROR: Invalid argument for switch."},
        {"[{'switch': {'items': 'x'}}]", "ERROR: Invalid argument for switch."},
        {"[{'switch': {'items': {'case': 'a'}}}]", "ERROR: Invalid argument for switch."},
        {"[{'switch': {'items': ['a']}}]", "ERROR: Invalid argument for switch."},
        {"[{'switch': {'items': [{'case': ['a']}]}}]", "ERROR: Invalid argument for switch."},
        {"[{'return': 5}]", "ERROR: Invalid argument for return."},
        {"[{'return': {'a': 'b'}}]", "ERROR: Invalid argument for return."},
        {"[{'Foo': 5}]", "ERROR: Invalid argument for FOO."},
        {"[{'foo': null}]", "ERROR: Invalid argument for FOO."},
        {"[{'foo': {'a': {'b': '1'}}}]", "ERROR: Invalid argument for FOO."},
        {"[{'foo': {'a': null}}]", "ERROR: Invalid argument for FOO."},
        {"['a', {'alert': 1, 'return': 'b'}, 'c']", "aERROR: Invalid argument for alert.bc"},
    });
}

TEST(JSONScript, ShowsScriptsThatCannotRunInTheParserErrorBox)
{
    const struct
    {
        const char* script;
        const char* message;
    } cases[] = {
        {"[{'return': 'x'}", "Missing ']': [{'return': 'x'}\r\n"},
        {"[tru]", "Invalid Boolean at position 2 : tru]\r\n"},
        {"not json", "Invalid JSON"},
        {"", "Invalid JSON"},
        {"{'return': 'x'}", "Invalid script: a script is an array of texts and commands"},
        {"['a', 5]", "Invalid script element 2: a number or a Boolean is no text or command"},
        {"[false]", "Invalid script element 1: a number or a Boolean is no text or command"},
    };
    ScriptedOperator& op = scriptedOperator();
    for (const auto& c : cases) {
        op.answerMsgBox(platform::msgbox::OK);
        cJSONScript script;
        EXPECT_EQ(script.Eval(QString::fromUtf8(c.script)), QString()) << c.script;
        ASSERT_FALSE(op.asked().isEmpty());
        EXPECT_EQ(op.asked().last().prompt, QString::fromUtf8(c.message)) << c.script;
        EXPECT_EQ(op.asked().last().title, QStringLiteral("Parser Error"));
        EXPECT_EQ(op.asked().last().style, platform::msgbox::Exclamation);
    }
    EXPECT_EQ(op.asked().size(), qsizetype(std::size(cases)));
}
