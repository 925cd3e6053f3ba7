#pragma once

#include "core/crcdiagnosis.h"
#include "core/resultcode.h"
#include "core/retime.h"
#include "core/textencoding.h"
#include "files/textfiles.h"

#include <QString>

namespace kovrant {

// The single combine's notices about one of its files; they carry no "Error:".
enum class FileNotice {
    NotFound,        // the TTD or source file does not exist
    CannotRead,      // it cannot be read as text
    TooLarge,        // it is too large to be read into memory
    SaveFailed,      // the output could not be written
    InvalidEncoding, // its bytes are not valid in the encoding it is read in
};

// The one message that ends a batch.
enum class BatchSummary {
    AllOk,          // every file went through
    SomeErrors,     // a file failed, or an overwrite was declined
    NoFiles,        // no dropped file had the extension of the setting
    NoNewExtension, // the extension tool had no new extension to give
};

// The conversations jobs have with the user, each with its data. A front end makes its own
// form of them: the window modal message boxes titled "Kovrant", the command line lines on its
// terminal, tests a record of the calls.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // May the existing file at path be replaced? True for Yes.
    virtual bool askOverwrite(const QString& path) = 0;
    // The file at path failed with code; details say more where the code has more to say: where
    // its bytes stop being text, or the system's reason for a failed read.
    virtual void reportFileError(const QString& path, ResultCode code,
                                 const FileErrorDetails& details) = 0;
    // The CRC of the TTD file at ttdPath did not match its source lyrics, but the repairs of
    // diagnosis make it match: may the combine use the repaired text? A No fails the file, and
    // this was the user's word on it.
    virtual bool offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis) = 0;
    // The CRC did not match and no repair proves a match: the failure, with where the source
    // lyrics differ from what the TTD file needs.
    virtual void reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis) = 0;
    // A notice of the single combine about the file at path, with details as for an error.
    virtual void reportFileNotice(const QString& path, FileNotice notice,
                                  const FileErrorDetails& details) = 0;
    // The single combine's output folder, as the user gave it, is no folder.
    virtual void reportFolderNotFound(const QString& folder) = 0;
    // The single combine has no output folder.
    virtual void reportOutputFolderMissing() = 0;
    virtual void showSummary(BatchSummary summary) = 0;
    // A retime of the edited lyrics at newPath is done: what of the timing was carried, dropped
    // or left untimed, and the tags taken out of the new text (all but its taggedText).
    virtual void reportRetime(const QString& newPath, const RetimeResult& result) = 0;
};

// What the window does around a running job. Each call sets a state, so repeating one is
// harmless.
class WindowHooks {
public:
    virtual ~WindowHooks() = default;
    virtual void setHourglass(bool on) = 0;
    virtual void setWindowEnabled(bool enabled) = 0;
    virtual void setTopmost(bool on) = 0;
    // Called once before each file a job writes, so that the window can repaint.
    virtual void letPendingEventsRun() = 0;
};

// Keeps the window disabled and the hourglass on, and with raise the window in the stays-on-top
// band, while it lives; each is undone however the scope is left, an exception included.
class WindowBusy {
public:
    explicit WindowBusy(WindowHooks& hooks, bool raise = false)
        : m_hooks(hooks)
        , m_raise(raise)
    {
        m_hooks.setWindowEnabled(false);
        m_hooks.setHourglass(true);
        if (m_raise)
            m_hooks.setTopmost(true);
    }
    ~WindowBusy()
    {
        m_hooks.setHourglass(false);
        m_hooks.setWindowEnabled(true);
        if (m_raise)
            m_hooks.setTopmost(false);
    }
    WindowBusy(const WindowBusy&) = delete;
    WindowBusy& operator=(const WindowBusy&) = delete;

private:
    WindowHooks& m_hooks;
    bool m_raise;
};

class NoWindowHooks final : public WindowHooks {
public:
    void setHourglass(bool) override {}
    void setWindowEnabled(bool) override {}
    void setTopmost(bool) override {}
    void letPendingEventsRun() override {}
};

// Told of every file a job has written or renamed; the command line lists them on request.
class JobLog {
public:
    virtual ~JobLog() = default;
    virtual void written(const QString& path, TextEncoding encoding)
    {
        Q_UNUSED(path);
        Q_UNUSED(encoding);
    }
    virtual void renamed(const QString& from, const QString& to)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
    }
};

} // namespace kovrant
