// What the benchmark programs that run the program's windows share: one main (the offscreen
// platform unless the caller chose one, the application object, the window layouts, then the
// program's own windows loaded by benchSetUp() before the cases run), a folder for the files
// the cases write, and a store of records to work on.
#pragma once

#include <string>

// The windows the program's cases use, loaded and shown; false when one could not be loaded
// (the program then ends with 1 before any case runs). Defined by each program.
bool benchSetUp();
// After the cases: the program's exit status. Defined by each program.
int benchTearDown();

// A folder of this run's own, made on first use and removed when the program ends.
const std::string &benchFolder();

// The record store of a model index filled with records one a minute: a saw-tooth per channel
// rising from low in tenths over steps records (the second channel 10 below, humidity from 40),
// each value plus mark (the small offset a download's decoding leaves), a sensor error every
// 500 records.
void fillBenchStore(int model, int records, double low = -15.0, int steps = 400, double mark = 0.00001);
