// The archive window's texts in the chosen language: its title, the words it shows in its list
// and the captions of its table's columns, kept for the archive module, which builds the window
// above this module. They start in English, so the window reads well before any language file.
#pragma once

#include "local/Texts.h"

// No., model, identifier, first, last, records, complete, verdict, site
enum { ARCHIVE_COLUMN_COUNT = 9 };

extern char archiveWindowTitle[WINDOW_TEXT_SIZE];
extern char archiveColumns[ARCHIVE_COLUMN_COUNT][WINDOW_TEXT_SIZE];
extern char archiveYes[WINDOW_TEXT_SIZE];
extern char archiveNo[WINDOW_TEXT_SIZE];
extern char archiveFlagged[WINDOW_TEXT_SIZE];
extern char archiveImported[WINDOW_TEXT_SIZE];
extern char archiveChainHead[WINDOW_TEXT_SIZE];
extern char archiveTrailTitle[WINDOW_TEXT_SIZE * 2];
extern char archiveExportTitle[MSG_TEXT_SIZE];
extern char archiveExportDone[MSG_TEXT_SIZE];
extern char archiveNoSelection[MSG_TEXT_SIZE];
// the sites the list shows: this PC's archive, or every site's recordings on the server
extern char archiveThisPc[WINDOW_TEXT_SIZE];
extern char archiveAllSites[WINDOW_TEXT_SIZE];

// The English texts again (start-up, tests).
void resetArchiveTexts();

// The window's captions and the texts above from section "ArchiveWindow" of the language file;
// a key the file lacks leaves its text as it was.
void localArchiveWindow(int panel);
