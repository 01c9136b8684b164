#include "toolkit/report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The heading, then the message; percent signs in names and quoted text print
// literally; a long text is cut to the buffer; only the last report survives.
TEST(Report, HeadingThenFormattedMessageCutToTheBuffer) {
    ReportError("Scene", 12, "Bad key count %d in \"%s\"", 3, "scenes\\a.lws");
    EXPECT_STREQ(reportText,
                 "Error in module \"Scene\" at line 12:\n\nBad key count 3 in \"scenes\\a.lws\"");
    ReportError("Sc%sne%n", -7, "Unknown line: %s", "Motion 100% %s %n %d");
    EXPECT_STREQ(reportText,
                 "Error in module \"Sc%sne%n\" at line -7:\n\nUnknown line: Motion 100% %s %n %d");
    ReportError("Scene", 1, "%s", std::string(1000, 'x').c_str());
    EXPECT_EQ(std::strlen(reportText), sizeof reportText - 1);
    EXPECT_EQ(std::strncmp(reportText, "Error in module", 15), 0);
    ReportError(std::string(600, 'm').c_str(), 1, "tail %s", "text");
    EXPECT_EQ(std::strlen(reportText), sizeof reportText - 1);
    reportText[0] = 0;
}

// Every report runs the installed hook once; without one nothing else happens.
TEST(Report, RunsTheHookOncePerReport) {
    static int calls;
    calls = 0;
    SetReportHook([] { ++calls; });
    ReportError("Scene", 9, "Unknown motion");
    ReportError("Scene", 10, "Unknown motion");
    SetReportHook(nullptr);
    ReportError("Scene", 11, "Unknown motion");
    EXPECT_EQ(calls, 2);
    reportText[0] = 0;
}

} // namespace
