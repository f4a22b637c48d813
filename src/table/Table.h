// The data table window and its alarm processing.
#pragma once

extern unsigned char flagOfDataTableOn;   // 1 while the table window is open
extern double tabHi;                      // high limit of the processing
extern double tabLo;                      // low limit
extern int tabColor;                      // text colour of matching cells

// Refill the table page from the record store (only while the window is open).
void updateTable();
