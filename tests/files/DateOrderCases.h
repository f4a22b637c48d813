// Data files saved under one date-format preference and read under another: the record dates
// of each case, the preference of the reader, and the times the records must get. Shared by
// the reader's test and tavix-cli's.
#pragma once

#include <string>
#include <vector>

struct DateOrderCase {
    const char *name;
    int preference;                      // the reader's: 0 month-day-year, 1 day-month-year, 2 year-month-day
    const char *rate;                    // the file's Sample_Rate word
    std::vector<std::string> records;    // "date time" of each record line, numbered from 1
    std::vector<std::string> expected;   // "YYYY-MM-DD HH:MM:SS" of each record; empty: dated from today
    int firstUnread;                     // the record the warning names; 0 for none
};

// A file of one temperature channel (model 6) with these record dates.
inline std::string dateOrderFile(const DateOrderCase &c) {
    std::string text = "   #6\nDate: 01-01-2026\nID= ORDER\nSample_Rate= " + std::string(c.rate) +
                       "\nTotal_Records= " + std::to_string(c.records.size()) + "\nUnit: C\n";
    int n = 0;
    for (const std::string &r : c.records) text += "    " + std::to_string(++n) + "  " + r + "   20.5 \n";
    return text;
}

inline const std::vector<DateOrderCase> &dateOrderCases() {
    static const std::vector<DateOrderCase> cases = {
        // year-month-day files: the four-digit year decides, whatever the preference
        {"ymd file read as ymd",
         2,
         "00:01:00",
         {"2026-03-05 08:00:00", "2026-03-05 08:01:00"},
         {"2026-03-05 08:00:00", "2026-03-05 08:01:00"},
         0},
        {"ymd file read as dmy",
         1,
         "00:01:00",
         {"2026-03-05 08:00:00", "2026-03-05 08:01:00"},
         {"2026-03-05 08:00:00", "2026-03-05 08:01:00"},
         0},
        {"ymd file read as mdy",
         0,
         "00:01:00",
         {"2026-03-25 08:00:00", "2026-03-25 08:01:00"},
         {"2026-03-25 08:00:00", "2026-03-25 08:01:00"},
         0},
        // day-month-year files
        {"dmy file days above 12 read as mdy",
         0,
         "00:01:00",
         {"25-03-2026 08:00:00", "25-03-2026 08:01:00"},
         {"2026-03-25 08:00:00", "2026-03-25 08:01:00"},
         0},
        {"dmy file days above 12 read as ymd",
         2,
         "00:01:00",
         {"25-03-2026 08:00:00", "25-03-2026 08:01:00"},
         {"2026-03-25 08:00:00", "2026-03-25 08:01:00"},
         0},
        {"dmy file over a day change read as mdy",
         0,
         "01:00:00",
         {"05-03-2026 23:00:00", "06-03-2026 00:00:00"},
         {"2026-03-05 23:00:00", "2026-03-06 00:00:00"},
         0},
        {"dmy file over a month end read as mdy",
         0,
         "01:00:00",
         {"31-01-2026 23:00:00", "01-02-2026 00:00:00"},
         {"2026-01-31 23:00:00", "2026-02-01 00:00:00"},
         0},
        {"dmy file days at or below 12 read as dmy",
         1,
         "00:01:00",
         {"05-03-2026 08:00:00", "05-03-2026 08:01:00"},
         {"2026-03-05 08:00:00", "2026-03-05 08:01:00"},
         0},
        // month-day-year files
        {"mdy file days above 12 read as dmy",
         1,
         "00:01:00",
         {"03-25-2026 08:00:00", "03-25-2026 08:01:00"},
         {"2026-03-25 08:00:00", "2026-03-25 08:01:00"},
         0},
        {"mdy file over a day change read as dmy",
         1,
         "01:00:00",
         {"03-05-2026 23:00:00", "03-06-2026 00:00:00"},
         {"2026-03-05 23:00:00", "2026-03-06 00:00:00"},
         0},
        {"mdy file over a month end read as dmy",
         1,
         "01:00:00",
         {"01-31-2026 23:00:00", "02-01-2026 00:00:00"},
         {"2026-01-31 23:00:00", "2026-02-01 00:00:00"},
         0},
        {"mdy file days at or below 12 read as mdy",
         0,
         "00:01:00",
         {"03-05-2026 08:00:00", "03-05-2026 08:01:00"},
         {"2026-03-05 08:00:00", "2026-03-05 08:01:00"},
         0},
        {"mdy file days above 12 read as ymd",
         2,
         "00:01:00",
         {"03-25-2026 08:00:00", "03-25-2026 08:01:00"},
         {"2026-03-25 08:00:00", "2026-03-25 08:01:00"},
         0},
        // one record: only validity can decide, the preference first
        {"one record days at or below 12 takes the preference",
         1,
         "00:01:00",
         {"05-03-2026 08:00:00"},
         {"2026-03-05 08:00:00"},
         0},
        {"one record day above 12 takes the order it fits",
         1,
         "00:01:00",
         {"03-25-2026 08:00:00"},
         {"2026-03-25 08:00:00"},
         0},
        // a gap between records (a logger restarted) leaves every date valid in one order only
        {"records with a gap keep the order whose dates are valid",
         0,
         "00:01:00",
         {"25-03-2026 08:00:00", "26-03-2026 09:30:00"},
         {"2026-03-25 08:00:00", "2026-03-26 09:30:00"},
         0},
        // dates that fit no order: dated from today, the warning names the first unread record
        {"one broken date",
         1,
         "00:01:00",
         {"05-03-2026 08:00:00", "45-03-2026 08:01:00", "05-03-2026 08:02:00"},
         {},
         2},
        {"a broken date in a file of the other order",
         0,
         "00:01:00",
         {"13-03-2026 08:00:00", "13-03-2026 08:01:00", "41-03-2026 08:02:00"},
         {},
         3},
        {"a broken time", 0, "00:01:00", {"03-05-2026 08:00:00", "03-05-2026 25:01:00"}, {}, 2},
        {"a broken year-month-day date", 0, "00:01:00", {"2026-03-05 08:00:00", "2026-13-05 08:01:00"}, {}, 2},
        {"words instead of a date", 0, "00:01:00", {"yesterday noon"}, {}, 1},
    };
    return cases;
}
