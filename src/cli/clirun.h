#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace kovrant {

// The terminal kovrant-cli may ask its questions on.
class Terminal {
public:
    virtual ~Terminal() = default;
    // True when a person can see a question and answer it.
    virtual bool isInteractive() const = 0;
    // The next line typed, without its line break; nothing at the end of input.
    virtual std::optional<QString> readLine() = 0;
};

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
