// A download run by the program's own timer, as the user's Start runs it.
#pragma once

#include <QTimer>

#include "link/Link.h"
#include "runtime/ui.h"

// Runs the event loop (the main window's timer enabled by the caller) until the download ends;
// false when it has not ended within 30 s.
inline bool runUntilDownloadEnds() {
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        if (fDownloadNow == 0) QuitUserInterface(0);
    });
    watch.start(50);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QuitUserInterface(1); });
    deadline.start(30000);
    return RunUserInterface() == 0;
}
