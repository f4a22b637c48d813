// The event loop turned by a test that runs the program's windows in-process: for a while, or
// until a condition holds (with a ceiling, never a fixed wait for the condition itself).
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Lets the event loop run (timers, serial notifications, child processes ending) for ms
// milliseconds.
inline void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets the event loop run until done() holds; false after ms milliseconds.
inline bool pumpUntil(const std::function<bool()> &done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms) return false;
        pump(5);
    }
    return true;
}
