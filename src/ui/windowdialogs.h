#pragma once

#include "jobs/userdialogs.h"
#include "ui/batchreport.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

namespace kovrant {

// A file dialog: its title, the files it lists ("*.TTD", matched in any case; "" for every
// file) and the folder it starts in.
struct FileDialogRequest {
    QString title;
    QString pattern;
    QString folder;
};

// Every modal dialog of the window: the jobs' conversations and the window's own. The window
// gets one of these, so that tests record the calls and answer from a script.
class WindowDialogs : public UserDialogs {
public:
    // An existing file chosen in a file-open dialog; nothing when the dialog is cancelled.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    // Existing files chosen together; none when the dialog is cancelled.
    virtual QStringList openFiles(const FileDialogRequest& request) = 0;
    // An existing folder, or "" when the dialog is cancelled.
    virtual QString pickFolder(const QString& startFolder) = 0;
    // The two lyrics extensions are the same.
    virtual void warnEqualExtensions() = 0;
    virtual void showAbout() = 0;
    // The batch's summary with what became of its files.
    virtual void showBatchSummary(BatchSummary summary, const BatchReport& report) = 0;
    // An output of the run would replace input, one of its own inputs: nothing was done.
    virtual void reportOwnOutput(const QString& input) = 0;
    // The settings could not be kept in the file at path when the window closed.
    virtual void reportSettingsNotSaved(const QString& path) = 0;
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

    std::optional<QString> openFile(const FileDialogRequest& request) override;
    QStringList openFiles(const FileDialogRequest& request) override;
    QString pickFolder(const QString& startFolder) override;
    void warnEqualExtensions() override;
    void showAbout() override;
    void showBatchSummary(BatchSummary summary, const BatchReport& report) override;
    void reportOwnOutput(const QString& input) override;
    void reportSettingsNotSaved(const QString& path) override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace kovrant
