#include "Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        close(master_);
        master_ = -1;
        return;
    }
    slave_ = ptsname(master_);
    // raw mode on the line, so carriage returns arrive as they are sent
    termios t{};
    int s = open(slave_.c_str(), O_RDWR | O_NOCTTY);
    if (s >= 0) {
        if (tcgetattr(s, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(s, TCSANOW, &t);
        }
        close(s);
    }
}

Pty::~Pty() {
    if (master_ >= 0) close(master_);
}

void Pty::write(const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
}

std::string Pty::read(int timeoutMs) {
    std::string out;
    pollfd p{master_, POLLIN, 0};
    int wait = timeoutMs;
    while (poll(&p, 1, wait) > 0 && (p.revents & POLLIN)) {
        char buf[4096];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
        wait = 50;   // collect what follows closely
    }
    return out;
}
