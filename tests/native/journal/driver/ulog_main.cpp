// Stand-alone "ulog" subcommand, for trying it before it is part of installer-tool:
//   ulog_show show FILE
#include "installer-tool/ulog_command.hpp"

int main(int argc, char** argv) { return run_ulog_command(argc - 1, argv + 1); }
