// The communication settings window and the automatic port detection.
#pragma once

// Detect the logger's port: the lowest port from 2 to 16 that opens, else 1. The result is
// also stored in portNo and the application-state file.
int Get_ComPort();
