// The data table's state: the page's texts and column arrays, and the processing's settings.
#include "table/Table.h"

#include <cstring>
#include <initializer_list>

namespace {

// The text colour of matching cells at start-up.
constexpr int kStartColor = 0x990000;

}   // namespace

unsigned char flagOfDataTableOn = 0;
int tabIdx[TABLE_PAGE_ROWS] = {};
char tabNumber[TABLE_PAGE_ROWS][TABLE_CELL_SIZE] = {};
const char *pNumber[TABLE_PAGE_ROWS] = {};
char tabDate[TABLE_PAGE_ROWS][TABLE_CELL_SIZE] = {};
char tabTime[TABLE_PAGE_ROWS][TABLE_CELL_SIZE] = {};
char tabTemp[TABLE_PAGE_ROWS][TABLE_CELL_SIZE] = {};
char tabTemp2[TABLE_PAGE_ROWS][TABLE_CELL_SIZE] = {};
char tabRh[TABLE_PAGE_ROWS][TABLE_CELL_SIZE] = {};
const char *pDate[TABLE_PAGE_ROWS] = {};
const char *pTime[TABLE_PAGE_ROWS] = {};
const char *pTemp[TABLE_PAGE_ROWS] = {};
const char *pTemp2[TABLE_PAGE_ROWS] = {};
const char *pRh[TABLE_PAGE_ROWS] = {};

int tabChannel = 0;
int tabCondition = 1;
double tabHi = 0.0;
double tabLo = 0.0;
int tabColor = kStartColor;
int tabHiEnable = 1;
int tabLowEnable = 1;
int tabErrEnable = 1;
unsigned tabCountedGeneration = 0;
int tabCountedLength = -1;

void resetTableState() {
    flagOfDataTableOn = 0;
    std::memset(tabIdx, 0, sizeof tabIdx);
    std::memset(tabNumber, 0, sizeof tabNumber);
    std::memset(tabDate, 0, sizeof tabDate);
    std::memset(tabTime, 0, sizeof tabTime);
    std::memset(tabTemp, 0, sizeof tabTemp);
    std::memset(tabTemp2, 0, sizeof tabTemp2);
    std::memset(tabRh, 0, sizeof tabRh);
    for (const char **column : {pNumber, pDate, pTime, pTemp, pTemp2, pRh})
        for (int r = 0; r < TABLE_PAGE_ROWS; ++r) column[r] = nullptr;
    tabChannel = 0;
    tabCondition = 1;
    tabHi = 0.0;
    tabLo = 0.0;
    tabColor = kStartColor;
    tabHiEnable = 1;
    tabLowEnable = 1;
    tabErrEnable = 1;
    tabCountedGeneration = 0;
    tabCountedLength = -1;
}
