#pragma once
// Lines of a test's log that a suite sets aside.
#include <string>

namespace test {

/// The log without its "!!! Bad callback: " lines: the sample page scripts name the
/// front-end's callbacks, which bind nothing in a test that leaves the front-end out.
std::string WithoutCallbackLines(const std::string& log);

}  // namespace test
