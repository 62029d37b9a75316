// "installer-tool ulog": looks inside an uninstall log for support engineers.
//   ulog show FILE   the header values as read, the raw paths and every entry
#pragma once

#include <ostream>

// argv starts after "ulog". Exit code: 0 shown, 1 the file cannot be read, 2 wrong usage.
int run_ulog_command(int argc, char** argv);
int run_ulog_command(int argc, char** argv, std::ostream& out, std::ostream& err);
