#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    qav::cli::installInterruptHandler();
    std::vector<std::string> words(argv + 1, argv + argc);
    const int rc = qav::cli::runCli(words, std::cout, std::cerr);
    std::cout.flush();
    return rc;
}
