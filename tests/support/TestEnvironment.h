#pragma once

#include <QString>

namespace testing_support {

class ScriptedOperator;

// The current test's own temporary folder (also the program folder, TEMP, TMP and TMPDIR).
QString testFolder();
// A temporary folder that lasts for the whole run of the test executable, for
// what tests build once and copy (a test's own folder goes with the test).
QString runFolder();
// The scripted operator installed for the current test.
ScriptedOperator& scriptedOperator();
// A file under tests/fixtures/.
QString fixturePath(const QString& name);

} // namespace testing_support
