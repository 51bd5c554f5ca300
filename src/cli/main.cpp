#include <iostream>

#include "Cli.h"
#include "FileIO.h"

int main(int argc, char** argv) {
    sw::PrepareProcess();  // before any file is opened
    return sw::cli::RunCli(argc, argv, std::cout, std::cerr);
}
