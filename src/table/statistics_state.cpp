// The statistics window's state: the histogram of each section.
#include "table/Table.h"

HistogramSection histogramSection[2] = {};

void resetStatisticsState() {
    for (HistogramSection &section : histogramSection) section = HistogramSection{};
}
