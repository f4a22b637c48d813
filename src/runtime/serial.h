// The serial (COM-port) run-time on Qt SerialPort. Ports are numbered 1..16; each
// number stands for a device path (the default table below, or a binding the user
// made, kept in "Tavix.ini" of the program's folder).
//
//   COM1..COM4   -> /dev/ttyS0..3
//   COM5..COM12  -> /dev/ttyUSB0..7
//   COM13..COM16 -> /dev/ttyACM0..3
//
// All calls are made on the event-loop thread; the notification callback arrives
// there too, between other callbacks.
#pragma once

#include <cstddef>
#include <string>

enum { MAX_COM_PORT = 16 };
// InstallComCallback event masks
enum { LWRS_RXCHAR = 1, LWRS_RXFLAG = 2, LWRS_TXEMPTY = 4, LWRS_RECEIVE = 8 };

using ComCallbackPtr = void (*)(int portNumber, int eventMask, void *callbackData);

// Open a port: device name "" = the device the port number stands for. Parity 0 none, 1 odd,
// 2 even, 3 mark, 4 space. Result negative = not opened, zero or more = open.
int OpenComConfig(int port, const char *deviceName, long baudRate, int parity, int dataBits, int stopBits,
                  int inputQueueSize, int outputQueueSize);
// Close a port; harmless when it is not open.
int CloseCom(int port);
// Write count bytes; returns the number written or negative.
int ComWrt(int port, const char *buffer, int count);
// Read up to maxCount bytes, up to the terminator, within the time-out. The terminator is
// consumed and not stored. Returns the bytes stored (without a terminator when the time-out
// ended the read: the bytes that did arrive are consumed and returned), 0 when nothing came.
int ComRdTerm(int port, char *buffer, int maxCount, int terminator);
// Bytes waiting in the input queue (0 or less: nothing to read).
int GetInQLen(int port);
int FlushInQ(int port);
int FlushOutQ(int port);
// Read and write time-out in seconds.
int SetComTime(int port, double seconds);
// Call callback(port, mask, data) on the event-loop thread for every eventChar received.
// Installing again replaces the previous installation.
int InstallComCallback(int port, int eventMask, int notifyCount, int eventChar, ComCallbackPtr callback,
                       void *callbackData);

namespace rt {
// What a port number is to the program: not open; open; or open but its device has gone (the
// line hung up, the adapter was unplugged). A lost port still gives what had arrived and must
// be closed by the program; opening it again brings the device back when it has returned.
enum { COM_PORT_CLOSED = 0, COM_PORT_OPEN = 1, COM_PORT_LOST = 2 };
int ComPortStatus(int port);
// The device a port number stands for (a binding, else the default table); "" outside 1..16.
std::string ComPortDevice(int port);
// The default device of a port number, ignoring bindings.
std::string DefaultComPortDevice(int port);
// Bind a port number to a device path ("" removes the binding) and keep it in "Tavix.ini"
// of the working directory. Returns 0 or negative.
int BindComPort(int port, const std::string &device);
// Read the bindings from "Tavix.ini" again (start-up; tests).
void LoadComPortBindings();
}   // namespace rt
