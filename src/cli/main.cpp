#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "FileIO.h"

int main(int argc, char** argv) {
    sw::PrepareProcess();  // before any file is opened
    std::vector<std::string> arguments = sw::ProgramArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return sw::cli::RunCli(static_cast<int>(arguments.size()), pointers.data(), std::cout,
                           std::cerr);
}
