#pragma once

#include <QString>

namespace bench {

// The server folder of the million-row demo: the first program argument, or a
// folder under the temporary folder; built there when it holds no main data
// base yet. Returns an empty text (after printing why) when the build failed.
QString millionRowDemo(int argc, char** argv);

} // namespace bench
