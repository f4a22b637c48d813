// A throwaway PostgreSQL cluster for the tests that need a server: made with initdb in a folder
// of its own, trust authentication, its socket in that folder and a free port on 127.0.0.1
// only; started and stopped with pg_ctl (whose -w waits for the server with a ceiling, not for
// a fixed time) and removed when the object goes. The server refuses to run as root, so as root
// (as in CI) its programs run as the postgres user.
#pragma once

#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Programs.h"

class PgCluster {
public:
    // The folder of the PostgreSQL programs ("" when they are not installed).
    static std::string binaries() {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (int version = 20; version >= 13; --version) {
            const fs::path bin = "/usr/lib/postgresql/" + std::to_string(version) + "/bin";
            if (fs::exists(bin / "pg_ctl", ec) && fs::exists(bin / "initdb", ec)) return bin.string();
        }
        return {};
    }

    PgCluster() = default;
    ~PgCluster() { destroy(); }
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

    // Makes and starts the cluster; false (error) when it does not start.
    bool create(std::string &error) {
        bin_ = binaries();
        if (bin_.empty()) {
            error = "the PostgreSQL programs are not installed (scripts/setup installs them)";
            return false;
        }
        char pattern[] = "/tmp/tavix-pg-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            error = "no folder for the cluster";
            return false;
        }
        dir_ = pattern;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all | std::filesystem::perms::group_exec |
                                               std::filesystem::perms::others_exec);
        if (::geteuid() == 0) {
            const passwd *pw = ::getpwnam("postgres");
            if (pw == nullptr || ::chown(dir_.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
                error = "running as root, and there is no postgres user to run the server";
                return false;
            }
        }
        port_ = freePort();
        const programs::Outcome made =
            as({bin_ + "/initdb", "-D", data(), "-A", "trust", "-U", "tavix", "--no-sync", "-E", "UTF8"});
        if (made.status != 0) {
            error = "initdb failed: " + made.out + made.err;
            return false;
        }
        if (!start(error)) return false;
        return true;
    }

    bool start(std::string &error) {
        std::string options = "-c listen_addresses=127.0.0.1 -p " + std::to_string(port_) + " -k " + dir_.string() +
                              " -c max_connections=40";
        // a throwaway cluster need not survive a power cut; TAVIX_PG_DURABLE=1 measures with fsync
        if (std::getenv("TAVIX_PG_DURABLE") == nullptr) options += " -c fsync=off";
        const programs::Outcome out = as({bin_ + "/pg_ctl", "-D", data(), "-l", (dir_ / "server.log").string(), "-w",
                                          "-t", "60", "-o", options, "start"});
        if (out.status != 0) {
            error = "pg_ctl start failed: " + out.out + out.err + programs::readFile(dir_ / "server.log");
            return false;
        }
        return true;
    }

    // Stops the server: "fast" ends the sessions cleanly, "immediate" as a crash would.
    void stop(const std::string &mode = "fast") {
        if (!dir_.empty()) as({bin_ + "/pg_ctl", "-D", data(), "-m", mode, "-w", "-t", "60", "stop"});
    }

    // A new database in the cluster, and its URL as Tavix takes it.
    std::string database(const std::string &name, std::string &error) {
        const programs::Outcome out =
            as({bin_ + "/createdb", "-h", dir_.string(), "-p", std::to_string(port_), "-U", "tavix", name});
        if (out.status != 0) error = "createdb failed: " + out.out + out.err;
        return "postgresql://tavix@127.0.0.1:" + std::to_string(port_) + "/" + name;
    }

    // psql's answer to a statement in a database, without the line end.
    std::string psql(const std::string &db, const std::string &sql) {
        const programs::Outcome out = as({bin_ + "/psql", "-h", dir_.string(), "-p", std::to_string(port_), "-U",
                                          "tavix", "-d", db, "-X", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-c", sql});
        std::string text = out.out;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        return out.status == 0 ? text : "psql failed: " + out.err;
    }

    void destroy() {
        if (dir_.empty()) return;
        stop("immediate");
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        dir_.clear();
    }

    int port() const { return port_; }

private:
    std::string data() const { return (dir_ / "data").string(); }

    // A program of the server's, as the postgres user when this process is root.
    programs::Outcome as(std::vector<std::string> args) {
        if (::geteuid() == 0) {
            const char *runuser = ::access("/usr/sbin/runuser", X_OK) == 0 ? "/usr/sbin/runuser" : "/sbin/runuser";
            args.insert(args.begin(), {runuser, "-u", "postgres", "--"});
        }
        return programs::run(args, dir_);
    }

    // A port on 127.0.0.1 that nothing listens on now.
    static int freePort() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = 0;
        if (::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        ::close(s);
        return port;
    }

    std::string bin_;
    std::filesystem::path dir_;
    int port_ = 0;
};
