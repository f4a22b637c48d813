// The trip report's texts and their English start values.
#include "local/ReportTexts.h"

#include <cstring>

#include "local/Local.h"

#define TAVIX_DEFINE_REPORT_TEXT(name, key, english) char name[REPORT_TEXT_SIZE] = english;
TAVIX_REPORT_TEXTS(TAVIX_DEFINE_REPORT_TEXT)
TAVIX_REPORT_MESSAGES(TAVIX_DEFINE_REPORT_TEXT)
#undef TAVIX_DEFINE_REPORT_TEXT

void resetReportTexts() {
#define TAVIX_RESET_REPORT_TEXT(name, key, english) saveString(english, name);
    TAVIX_REPORT_TEXTS(TAVIX_RESET_REPORT_TEXT)
    TAVIX_REPORT_MESSAGES(TAVIX_RESET_REPORT_TEXT)
#undef TAVIX_RESET_REPORT_TEXT
}
