// Checks on what a slvtool run printed, for the tests of its commands.
#pragma once

#include "tests/support/slvtool_run.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace testsupport {

// Every text must be in the run's output.
inline void ExpectHas(const ToolRun& run, std::initializer_list<std::string> texts) {
    for (const std::string& text : texts)
        EXPECT_NE(run.output.find(text), std::string::npos) << "missing \"" << text << "\" in:\n"
                                                            << run.output;
}

} // namespace testsupport
