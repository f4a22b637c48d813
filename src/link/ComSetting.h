// The communication settings window and the automatic port detection.
//
// The window edits the five settings of the serial link (port number, baud rate, parity,
// data bits, stop bits); OK applies them, the close box keeps them for the next start only,
// Cancel forgets them. It also shows the device each port number stands for and binds a
// port number to any device path. Its callbacks are declared with the others in
// app/Callbacks.h: cSettingCallBack, cOkCallBack, cCancelCallBack, cBindCallBack,
// pSettingCallBack, cAutoCallBack and the five setting controls' callbacks.
#pragma once

// Detect the logger's port: the lowest port from 2 to 16 that opens, else 1. The result is
// also stored in portNo and the application-state file.
int Get_ComPort();

// Label every item of the port ring of a settings window with the device its number stands
// for ("COM5  /dev/ttyUSB0"), keeping the chosen number, and show that number's device in
// the device field.
void showPortDevices(int panel);
