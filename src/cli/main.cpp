#include <cstdio>
#include <string>

#include "app/TavixVersion.h"
#include "cli/Cli.h"

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--version") return std::printf("tavix-cli %s\n", TAVIX_VERSION) > 0 ? 0 : 1;
    cli::Options options;
    std::string error;
    switch (cli::parseArguments(argc, argv, options, error)) {
        case 1: std::fputs(cli::USAGE, stdout); return cli::EXIT_OK;
        case 0: return cli::run(options, argc > 0 ? argv[0] : "tavix-cli");
        default: std::fprintf(stderr, "tavix-cli: %s (see --help)\n", error.c_str()); return cli::EXIT_USAGE;
    }
}
