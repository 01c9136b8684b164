#include "toolkit/report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The heading, then the message; percent signs in names and quoted text print
// literally; a long text is cut to the buffer.
TEST(Report, HeadingThenFormattedMessageCutToTheBuffer) {
    ReportError("Sc%sne%n", -7, "Bad key count %d in \"%s\"", 3, "Motion 100% %s %n");
    EXPECT_STREQ(
        reportText,
        "Error in module \"Sc%sne%n\" at line -7:\n\nBad key count 3 in \"Motion 100% %s %n\"");
    ReportError(std::string(600, 'm').c_str(), 1, "%s", std::string(1000, 'x').c_str());
    EXPECT_EQ(std::strlen(reportText), sizeof reportText - 1);
    EXPECT_EQ(std::strncmp(reportText, "Error in module", 15), 0);
    reportText[0] = 0;
}

} // namespace
