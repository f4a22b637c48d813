// tavix-cli summary: each data file read as Retrieve File does, judged against a profile of the
// profiles file, and the verdicts printed (a line per file with its alarms, or JSON Lines),
// written as CSV rows and as trip-report pages (one PDF with a page per file, or a PDF per
// file). Every file is handled in this one run of the program.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/replace_file.h"
#include "cli/Common.h"
#include "local/ReportTexts.h"
#include "report/Report.h"
#include "runtime/page.h"
#include "runtime/ui.h"
#include "store/Fingerprint.h"

namespace cli {

namespace {

// The faults of a run come before what it found about the data: a file that cannot be read,
// then an output that cannot be written, then a verdict FAIL.
int worse(int a, int b) {
    for (const int status : {EXIT_UNREADABLE, EXIT_NOT_WRITTEN, EXIT_FAIL})
        if (a == status || b == status) return status;
    return EXIT_OK;
}

// The profile chosen with --profile (or the first), or -1 after saying why there is none.
int chooseProfile(const Options &options, int &result) {
    if (!reportProfilesError.empty())
        std::fprintf(stderr, "tavix-cli: %s %s\n", msgProfilesUnread, reportProfilesError.c_str());
    if (options.profile.empty()) return 0;
    const int index = reportProfileByName(options.profile);
    if (index >= 0) return index;
    std::fprintf(stderr, "tavix-cli: no profile \"%s\"; the profiles are:\n", options.profile.c_str());
    for (const Profile &p : reportProfiles) std::fprintf(stderr, "  %s\n", p.name.c_str());
    // a profiles file that cannot be read is an input refused; a name it lacks, a bad command line
    result = reportProfilesError.empty() ? EXIT_USAGE : EXIT_UNREADABLE;
    return -1;
}

// DIR/<name of the data file>.pdf, numbered when two data files share a name.
std::string pdfInFolder(const std::string &dir, const std::string &dataFile, std::set<std::string> &used) {
    namespace fs = std::filesystem;
    const std::string stem = fs::path(dataFile).stem().string();
    std::string name = stem + ".pdf";
    for (int n = 2; used.count(name); ++n) name = stem + "-" + std::to_string(n) + ".pdf";
    used.insert(name);
    return (fs::path(dir) / name).string();
}

bool writeText(const std::string &path, const std::string &text) {
    const rt::ReplaceOptions how = {nullptr, ".tmp", 100, false};
    return rt::replaceFile(path.c_str(), how, text) == 0;
}

}   // namespace

int summary(const Options &options, rt::ScriptedAgent &agent) {
    // an output named like one of the data files would replace it
    for (const std::string &input : options.filePaths)
        if (input == options.csv || input == options.pdf) {
            std::fprintf(stderr, "tavix-cli: %s is a data file to read; it is never written over\n", input.c_str());
            return EXIT_USAGE;
        }
    // the words of the pages in the language of the preferences, the profiles of the folder
    localTripReportWindow();
    loadReportProfiles();
    int result = EXIT_OK;
    const int index = chooseProfile(options, result);
    if (index < 0) return result;
    reportProfileIndex = index;
    if (!options.pdfDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.pdfDir, ec);
    }

    std::string csv = summaryCsvHeader();
    std::vector<rt::Page> pages;
    std::set<std::string> pdfNames;
    for (std::size_t k = 0; k < options.files.size() && stopSignal() == 0; ++k) {
        const std::string &shown = options.files[k];
        if (loadDataFile(options.filePaths[k], agent) != EXIT_OK) {
            result = worse(result, EXIT_UNREADABLE);
            continue;
        }
        const Profile &profile = reportProfiles[reportProfileIndex];
        Verdict verdict;
        if (judgeRecordsHeld(profile, verdict) != 0) {
            std::fprintf(stderr, "tavix-cli: %s cannot be judged (its interval or unit is not valid)\n", shown.c_str());
            result = worse(result, EXIT_UNREADABLE);
            continue;
        }
        // the fingerprint is the costly part of the facts: made only for an output that shows it
        const bool fingerprinted =
            options.json || !options.csv.empty() || !options.pdf.empty() || !options.pdfDir.empty();
        const ReportFacts facts = fingerprinted ? factsOfRecordsHeld() : ReportFacts{};
        if (options.json)
            std::printf("%s\n", summaryJson(shown, facts.fingerprint, profile, verdict).c_str());
        else
            std::fputs(summaryLines(shown, profile, verdict).c_str(), stdout);
        std::fflush(stdout);
        if (!options.csv.empty()) csv += summaryCsvRows(shown, facts.fingerprint, profile, verdict);
        if (!options.pdf.empty()) pages.push_back(tripReportPage(profile, verdict, facts));
        if (!options.pdfDir.empty()) {
            const std::string path = pdfInFolder(options.pdfDir, shown, pdfNames);
            if (rt::WritePagesPdf({tripReportPage(profile, verdict, facts)}, path.c_str(), rptHeading) != 0) {
                std::fprintf(stderr, "tavix-cli: %s %s\n", msgReportNotWritten, path.c_str());
                result = worse(result, EXIT_NOT_WRITTEN);
            }
        }
        if (!verdict.pass) result = worse(result, EXIT_FAIL);
    }

    if (!options.pdf.empty() && !pages.empty() && rt::WritePagesPdf(pages, options.pdf.c_str(), rptHeading) != 0) {
        std::fprintf(stderr, "tavix-cli: %s %s\n", msgReportNotWritten, options.pdf.c_str());
        result = worse(result, EXIT_NOT_WRITTEN);
    }
    if (!options.csv.empty() && !writeText(options.csv, csv)) {
        std::fprintf(stderr, "tavix-cli: the CSV cannot be written: %s\n", options.csv.c_str());
        result = worse(result, EXIT_NOT_WRITTEN);
    }
    return result;
}

}   // namespace cli
