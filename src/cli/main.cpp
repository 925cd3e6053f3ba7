#include "cli/clirun.h"
#include "files/filenames.h"
#include "i18n/translations.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool IsTerminal(std::FILE* stream)
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

// Questions go to stderr and answers come from stdin, so both must be the terminal for a
// person to see a question and answer it.
class ProcessTerminal final : public kovrant::Terminal {
public:
    bool isInteractive() const override { return IsTerminal(stdin) && IsTerminal(stderr); }

    std::optional<QString> readLine() override
    {
        std::string line;
        if (!std::getline(std::cin, line))
            return std::nullopt;
        return QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
    }
};

} // namespace

int main(int argc, char* argv[])
{
#ifdef __GLIBC__
    // A batch reads and writes file after file of about the same size: memory freed after one
    // file is kept for the next instead of being given back to the system and asked for again.
    // Texts of several megabytes still come and go as mappings of their own.
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
#endif
    QCoreApplication app(argc, argv);
    // The jobs' messages speak the user's language as the window's do.
    kovrant::InstallTranslations();
    // File names are bytes: one that is not UTF-8 must reach the jobs as it is, to be refused,
    // not decoded into the name of another file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << kovrant::DecodeFileName(argv[i]);

    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    ProcessTerminal terminal;
    return kovrant::RunCli(arguments, out, err, terminal);
}
