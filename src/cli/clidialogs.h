#pragma once

#include "jobs/userdialogs.h"

#include <QString>

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

// Writes line and a line break, and lets it out at once, so that stdout and stderr interleave
// as they happened.
void WriteLine(QTextStream& stream, const QString& line);

// The command line's form of the jobs' conversations: one line on stderr for each thing said of
// a file, named as the user gave it, and a y/N question where a person can answer it.
class CliDialogs final : public UserDialogs {
public:
    // repair: whether a repair that proves a CRC match is taken (--repair).
    CliDialogs(QTextStream& err, Terminal& terminal, bool repair);

    bool askOverwrite(const QString& path) override;
    void reportFileError(const QString& path, ResultCode code,
                         const FileErrorDetails& details) override;
    bool offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis) override;
    void reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis) override;
    void reportFileNotice(const QString& path, FileNotice notice,
                          const FileErrorDetails& details) override;
    void reportFolderNotFound(const QString& folder) override;
    void reportOutputFolderMissing() override;
    // Every failure has had its own line; the exit status sums the run up.
    void showSummary(BatchSummary) override {}
    // One line for each thing the report says, then the counts.
    void reportRetime(const QString& newPath, const RetimeResult& result) override;

private:
    void reportDetails(const QString& path, const FileErrorDetails& details);

    QTextStream& m_err;
    Terminal& m_terminal;
    bool m_repair;
};

// Lists every file written or renamed on stdout when verbose (--verbose).
class CliLog final : public JobLog {
public:
    CliLog(QTextStream& out, bool verbose);

    void written(const QString& path, TextEncoding encoding) override;
    void renamed(const QString& from, const QString& to) override;

private:
    QTextStream& m_out;
    bool m_verbose;
};

} // namespace kovrant
