// The preferences record, read once at start-up from "localORM.ini" and read by the
// date texts, the start-up defaults and the window texts. Plain data: the pure modules
// read it without pulling in the windows.
#pragma once

struct SLocal {
    char retrievePath[260];    // "File Retrieve Path" (kept, used by no operation)
    char savePath[260];        // "File Save Path" (kept, used by no operation)
    signed char dateFormat;    // 2 = year-month-day, 1 = day-month-year, 0 = month-day-year
    signed char englishUnit;   // 1 = Fahrenheit by default, 0 = Celsius
    double defaultHigh;        // default high alarm limit
    double defaultLow;         // default low alarm limit
    char section[20];          // the section being read
    signed char archive;       // 1 = every download is kept in the archive (the default), 0 = off
    char archiveServer[512];   // "Archive Server": the server archive's URL, "" = none
    char siteName[128];        // "Site Name": this PC's site, "" = the host name
};

extern SLocal sLocal;
