// statewright-cli: argument parsing and the table of commands.
#pragma once

#include <ostream>

namespace sw::cli {

// Parses the arguments, runs one command and returns the exit code.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace sw::cli
