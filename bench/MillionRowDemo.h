#pragma once

#include <QString>

namespace bench {

// The server folder of the million-row demo: the first program argument, or a
// folder under the temporary folder; built there when it holds no main data
// base yet. Returns an empty text (after printing why) when the build failed.
QString millionRowDemo(int argc, char** argv);

// The connection string the system builds for the main data base of the
// million-row demo (built as millionRowDemo() does), with the program folder
// set beside the server folder; empty when the build failed.
QString millionRowConnection(int argc, char** argv);

} // namespace bench
