// tavix-cli report: read a data file as Retrieve File does, then press the data table's Print
// button with a PDF file standing in for the printer, the question for the records answered
// with --range (or every record).
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "local/Texts.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

int report(const Options &options, rt::ScriptedAgent &agent) {
    if (const int result = loadDataFile(options.input, agent); result != EXIT_OK) return result;

    // 1. the PDF stands in for the printer; the question is answered as the user would
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, options.output.c_str());
    agent.promptAnswers = {options.range.empty() ? "1-" + std::to_string(loggedLength) : options.range};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idTable, TABLE_PRINT, EVENT_COMMIT);
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, "");

    // 2. the outcome: the completion message, warn7 (not written), or nothing (no record named)
    for (std::size_t k = before; k < agent.shown.size(); ++k) {
        const rt::ScriptedAgent::Shown &shown = agent.shown[k];
        if (shown.kind != "message") continue;
        if (shown.title == warn7) return EXIT_NOT_WRITTEN;                   // "Printing is not possible"
        if (shown.title == msg12 && shown.text.starts_with(msgPdfSaved)) {   // "Print records", "saved as PDF"
            std::printf("report saved to %s\n", options.output.c_str());
            return EXIT_OK;
        }
    }
    std::fprintf(stderr, "tavix-cli: the range \"%s\" names no record; nothing is written\n", options.range.c_str());
    return EXIT_REFUSED;
}

}   // namespace cli
