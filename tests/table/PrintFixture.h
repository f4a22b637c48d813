// The real program (see LinkFixture.h) for the print commands: the printer is the run-time's
// capture (present or not, as a test says; every text printed is kept), a PDF file can stand in
// for the printer, and the record store is filled for a model. The PDFs are read back with
// poppler's tools (PdfCheck.h).
#pragma once

#include <regex>
#include <string>
#include <vector>

#include "LinkFixture.h"
#include "PdfCheck.h"
#include "table/Table.h"

class PrintProgram : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        startProgram();
        rt::CapturePrinting(true);
        rt::ClearPrinted();
    }
    void TearDown() override {
        SetPrintAttribute(ATTR_PRINT_PDF_FILE, "");
        rt::CapturePrinting(false);
        rt::ClearPrinted();
        LinkProgram::TearDown();
    }

    std::string path(const std::string &name) const { return (dir_ / name).string(); }

    // count records of a model: a time every minute from kFirstTime; temperature 20.0 + (i % 50)
    // tenths, second temperature 5 below, humidity 40.0 + (i % 300) tenths, as decoded (+0.00001).
    static void fill(int model, int count) {
        currDeviceId = model;
        ValPtrInit(model);
        clearLoggedData();
        loggedLength = 0;
        for (int i = 0; i < count; ++i) {
            const double t = 20.0 + (i % 50) / 10.0 + 0.00001;
            storeRecord(kFirstTime + 60u * static_cast<cRtc>(i), t, t - 5.0, 40.0 + (i % 300) / 10.0 + 0.00001);
        }
        eSampleRate = 60;
        eLength = count * loggerDataNum(model);
        eUnit = 'C';
    }

    // The data table's print button with the answer to its question.
    void report(const std::string &answer, const std::string &pdf = "") {
        if (!pdf.empty()) {
            ASSERT_EQ(SetPrintAttribute(ATTR_PRINT_PDF_FILE, pdf.c_str()), 0);
        }
        agent_.promptAnswers = {answer};
        rt::FireCtrlEvent(idTable, TABLE_PRINT, EVENT_COMMIT);
    }

    // The record lines of the capture: the texts after the header that begin with a number.
    static std::vector<std::string> printedRecordLines() {
        std::vector<std::string> lines;
        for (const std::string &t : rt::PrintedTexts())
            if (std::regex_search(t, std::regex(R"(^ +[0-9]+\t)"))) lines.push_back(t);
        return lines;
    }

    // The record numbers of a PDF's text: every line that begins with a number, a date and a time.
    static std::vector<int> recordNumbersIn(const std::string &text) {
        std::vector<int> numbers;
        const std::regex record(R"(^\s*([0-9]+)\s+[0-9]+-[0-9]+-[0-9]+\s+[0-9]{2}:[0-9]{2}:[0-9]{2}\b)");
        std::smatch m;
        for (const std::string &line : textLines(text))
            if (std::regex_search(line, m, record)) numbers.push_back(std::stoi(m[1]));
        return numbers;
    }

    static std::vector<int> span(int first, int last) {
        std::vector<int> out;
        for (int n = first; n <= last; ++n) out.push_back(n);
        return out;
    }

    // The end of a report saved as the PDF at path ("Print records", "saved as a PDF file:").
    int pdfSaved(const std::string &path) const { return messages("msg12", std::string(msgPdfSaved) + " " + path); }
    int messages(const std::string &title, const std::string &text) const {
        int n = 0;
        for (const auto &s : agent_.shown)
            if (s.kind == "message" && s.title == title && s.text == text) ++n;
        return n;
    }

    static constexpr cRtc kFirstTime = 850000000u;   // late in 2026
};
