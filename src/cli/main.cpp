#include <iostream>

#include "Cli.h"

int main(int argc, char** argv) {
    return sw::cli::RunCli(argc, argv, std::cout, std::cerr);
}
