// Error report and trace sink.
#include "toolkit/report.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char reportText[256] = "";

namespace {
ReportHook reportHook = nullptr;
}

void SetReportHook(ReportHook hook) {
    reportHook = hook;
}

void ReportError(const char* moduleName, long line, const char* message, ...) {
    // The heading is formatted with the module name as an argument, and only the
    // caller's message is used as a format, once: a '%' in a module name or in a
    // text the message quotes through %s prints as itself.
    int used =
        std::snprintf(reportText, sizeof reportText, "Error in module \"%s\" at line %ld:\n\n",
                      moduleName ? moduleName : "", line);
    if (used < 0) {
        used = 0;
        reportText[0] = 0;
    }
    size_t offset = static_cast<size_t>(used) < sizeof reportText ? static_cast<size_t>(used)
                                                                  : sizeof reportText - 1;
    if (message != nullptr && offset < sizeof reportText - 1) {
        va_list args;
        va_start(args, message);
        // vsnprintf cuts at the buffer's end and always terminates.
        if (std::vsnprintf(reportText + offset, sizeof reportText - offset, message, args) < 0)
            reportText[offset] = 0;
        va_end(args);
    }
    reportText[sizeof reportText - 1] = 0;
    if (reportHook != nullptr)
        reportHook();
}

namespace {
int traceState = -1; // -1 not yet read, 0 off, 1 to stderr
}

bool TraceEnabled() {
    if (traceState < 0) {
        const char* setting = std::getenv("SOLVANE_TRACE");
        traceState = (setting != nullptr && std::strcmp(setting, "1") == 0) ? 1 : 0;
    }
    return traceState == 1;
}

void Trace(const char* format, ...) {
    if (!TraceEnabled() || format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fflush(stderr);
}
