#include <cstdio>
#include <string>

#include "app/TavixVersion.h"
#include "cli/Cli.h"
#include "cli/Collect.h"

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--version") return std::printf("tavix-cli %s\n", TAVIX_VERSION) > 0 ? 0 : 1;
    // collect runs downloads as processes of their own: its command line is its own
    if (cli::collectCommandAt(argc, argv) > 0) {
        cli::CollectOptions collect;
        std::string error;
        switch (cli::parseCollectArguments(argc, argv, collect, error)) {
            case 1: std::fputs(cli::USAGE, stdout); return cli::EXIT_OK;
            case 0: return cli::collect(collect, argc > 0 ? argv[0] : "tavix-cli");
            default: std::fprintf(stderr, "tavix-cli: %s (see --help)\n", error.c_str()); return cli::EXIT_USAGE;
        }
    }
    cli::Options options;
    std::string error;
    switch (cli::parseArguments(argc, argv, options, error)) {
        case 1: std::fputs(cli::USAGE, stdout); return cli::EXIT_OK;
        case 0: return cli::run(options, argc > 0 ? argv[0] : "tavix-cli");
        default: std::fprintf(stderr, "tavix-cli: %s (see --help)\n", error.c_str()); return cli::EXIT_USAGE;
    }
}
