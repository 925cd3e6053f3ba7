#pragma once

#include "jobs/userdialogs.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

namespace kovrant {

// Every modal dialog of the window: the jobs' conversations and the window's own. The window
// gets one of these, so that tests record the calls and answer from a script.
class WindowDialogs : public UserDialogs {
public:
    // An existing file chosen in a file-open dialog that lists the files matching pattern
    // ("*.TTD") in any case; nothing when the dialog is cancelled.
    virtual std::optional<QString> openFile(const QString& pattern) = 0;
    // An existing folder, or "" when the dialog is cancelled.
    virtual QString pickFolder() = 0;
    // The two lyrics extensions are the same.
    virtual void warnEqualExtensions() = 0;
    virtual void showAbout() = 0;
};

// The desktop's forms of them: modal message boxes titled "Kovrant" and file dialogs, owned by
// the window given to setOwner.
class DesktopDialogs final : public WindowDialogs {
    Q_DECLARE_TR_FUNCTIONS(DesktopDialogs)

public:
    void setOwner(QWidget* owner) { m_owner = owner; }

    bool askOverwrite(const QString& path) override;
    void reportFileError(const QString& path, ResultCode code,
                         const FileErrorDetails& details) override;
    bool offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis) override;
    void reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis) override;
    void reportFileNotice(const QString& path, FileNotice notice,
                          const FileErrorDetails& details) override;
    void reportFolderNotFound(const QString& folder) override;
    void reportOutputFolderMissing() override;
    void showSummary(BatchSummary summary) override;
    void reportRetime(const QString& newPath, const RetimeResult& result) override;

    std::optional<QString> openFile(const QString& pattern) override;
    QString pickFolder() override;
    void warnEqualExtensions() override;
    void showAbout() override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace kovrant
