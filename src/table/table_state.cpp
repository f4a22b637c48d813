#include "table/Table.h"

unsigned char flagOfDataTableOn = 0;
double tabHi = 0.0;
double tabLo = 0.0;
int tabColor = 0x990000;
