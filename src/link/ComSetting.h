// The communication settings window and the automatic port detection.
//
// The window edits the five settings of the serial link (port number, baud rate, parity,
// data bits, stop bits); OK applies them, the close box keeps them for the next start only,
// Cancel forgets them. It also shows the device each port number stands for and binds a
// port number to any device path.
#pragma once

// The device path typed in the window, with its terminator.
enum { DEVICE_TEXT_SIZE = 1024 };

// Detect the logger's port: the lowest port from 2 to 16 that opens, else 1. The result is
// also stored in portNo and the application-state file.
int Get_ComPort();

// Label every item of the port ring of a settings window with the device its number stands
// for ("COM5  /dev/ttyUSB0", then a mark when that device exists now or is bound but
// missing), keeping the chosen number, and show that number's device in
// the device field.
void showPortDevices(int panel);

// ---------------------------------------------------------------- callbacks

// The main window's communication command: loads the window with the kept settings and shows it.
int cSettingCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// OK: opens the chosen port with the new settings (the window stays when it does not open).
int cOkCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// Cancel: discards the window, the settings in use stay.
int cCancelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The close box: keeps the window's values for the next start and hides it.
int pSettingCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
// Detect: runs Get_ComPort.
int cAutoCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// Bind: binds the chosen port number to the device path typed in the device field.
int cBindCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The five setting controls (the port number shows its device; the values are read on OK).
int sPortNoCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sBaudRateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sDataBitsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sParityCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStopBitsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
