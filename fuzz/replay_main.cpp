// Replays inputs through a fuzz target's LLVMFuzzerTestOneInput without libFuzzer, so that an
// ordinary build (any compiler, no fuzzing run-time) checks the committed corpus with the
// target's own checks. Each argument is a file or a folder, whose regular files are fed in
// name order. A target's failed check aborts: the input being replayed is named first.
//
//   datafile_replay fuzz/corpus/datafile
#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

// The input being replayed, for the signal handler (which may only write what is ready).
char currentInput[4096] = "";

void nameInput(int signal) {
    const char prefix[] = "replay: this input failed: ";
    (void)!write(STDERR_FILENO, prefix, sizeof prefix - 1);
    (void)!write(STDERR_FILENO, currentInput, std::strlen(currentInput));
    (void)!write(STDERR_FILENO, "\n", 1);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The files an argument names: itself, or a folder's regular files in name order.
bool collect(const std::filesystem::path &path, std::vector<std::filesystem::path> &files) {
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) {
        if (!std::filesystem::is_regular_file(path, ec)) return false;
        files.push_back(path);
        return true;
    }
    std::vector<std::filesystem::path> found;
    for (const auto &entry : std::filesystem::directory_iterator(path, ec))
        if (entry.is_regular_file(ec)) found.push_back(entry.path());
    if (ec) return false;
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
    return true;
}

}   // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER-OR-FILE...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (int k = 1; k < argc; ++k) {
        if (!collect(argv[k], files)) {
            std::fprintf(stderr, "replay: %s cannot be read\n", argv[k]);
            return 1;
        }
    }
    // An empty corpus checks nothing: that is a mistake in the test's set-up.
    if (files.empty()) {
        std::fprintf(stderr, "replay: no input found\n");
        return 1;
    }
    for (const int s : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(s, nameInput);

    std::size_t bytes = 0;
    for (const auto &file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) {
            std::fprintf(stderr, "replay: %s cannot be read\n", file.c_str());
            return 1;
        }
        std::snprintf(currentInput, sizeof currentInput, "%s", file.c_str());
        // A copy of the input's own size (never a null pointer, as libFuzzer gives it), so that
        // the sanitizers catch a read past its end.
        const std::unique_ptr<std::uint8_t[]> input(new std::uint8_t[data.size()]);
        std::copy(data.begin(), data.end(), input.get());
        LLVMFuzzerTestOneInput(input.get(), data.size());
        bytes += data.size();
    }
    std::printf("replay: %zu inputs, %zu bytes, no failure\n", files.size(), bytes);
    return 0;
}
