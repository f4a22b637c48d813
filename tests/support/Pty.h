// A pseudo-terminal pair for tests: the test holds the master side, the program under
// test opens the slave path as if it were a serial port.
#pragma once

#include <string>

class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string &slavePath() const { return slave_; }
    // Write bytes to the program (as the logger would send them).
    void write(const std::string &bytes);
    // Read what the program sent, waiting up to timeoutMs for the first byte.
    std::string read(int timeoutMs = 500);

private:
    int master_ = -1;
    std::string slave_;
};
