#pragma once

#include "cli/clidialogs.h"

#include <QStringList>

class QTextStream;

namespace kovrant {

// kovrant-cli's exit status.
namespace CliExit {
constexpr int Ok = 0;         // every file went through
constexpr int Failed = 1;     // some file failed or was not replaced
constexpr int UsageError = 2; // the command line was not understood; nothing was done
} // namespace CliExit

// Runs kovrant-cli with the arguments that follow the program name. Messages about files and
// the usage errors go to err, help, version and the --verbose list to out.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err, Terminal& terminal);

} // namespace kovrant
