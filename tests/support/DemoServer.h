#pragma once

#include <QString>

namespace testing_support {

// Builds the small demo server in the current test's folder and returns the
// connection string of its main data base.
QString demoServer();

} // namespace testing_support
