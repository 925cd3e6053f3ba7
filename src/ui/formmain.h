#pragma once

#include "jobs/batchdriver.h"
#include "jobs/jobstate.h"
#include "ui/runrecord.h"
#include "ui/settings.h"
#include "ui/toolwindows.h"

#include <QPointer>
#include <QWidget>

#include <chrono>
#include <memory>
#include <optional>

namespace kovrant {

struct FormMainUi;
class WindowDialogs;

// The main window. It holds the live value of every setting in its controls, loads them from
// the store when it is made and saves them when it closes, telling the user when they could not
// be saved; its handlers forward to the jobs, the batch driver and the dialogs. Its status line
// says what the last job did.
class FormMain : public QWidget, private WindowHooks, private ToolHost {
    Q_OBJECT

public:
    // batchDelay is the time between an accepted drop and its batch.
    FormMain(WindowDialogs& dialogs, const SettingsStore& store,
             std::chrono::milliseconds batchDelay = BatchDelay, QWidget* parent = nullptr);
    ~FormMain() override;

    // The mode shown; nothing before the settings have chosen one.
    std::optional<MainMode> currentMode() const { return m_currentMode; }
    // The driver of the drop targets' batches; tests run its tick instead of waiting.
    BatchDriver& batchDriver() { return m_driver; }
    // The window's state as a job reads it.
    JobSnapshot snapshot() const override;
    StoredSettings storedSettings() const;

    // Shows the window, in front and active, as a later start asks.
    void bringToFront();
    // Takes files as a drop on the current mode's target (the TTD file's field in the single
    // combine); what that target would refuse is refused, and so is everything while the window
    // is at work or under a dialog, as drops are. The status line says when files were refused.
    bool takeFiles(const QStringList& files);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applySettings(const StoredSettings& values);
    void connectControls();
    void connectTargets();
    void switchMode(MainMode mode);
    void switchByKey(MainMode mode);
    void showOptionMarks();
    void showStatus(const QString& text) override;
    // The folder a file dialog starts in: that of the field's path, else the last one used.
    QString startFolder(const QString& folderOfField) const;
    std::optional<QString> chooseFile(const QString& title, const QString& pattern,
                                      const QString& fieldPath) override;
    QStringList chooseFiles(const QString& title, const QString& pattern) override;
    QString chooseFolder(const QString& fieldText) override;
    OutputFolderRule outputFolderRule() const override;
    void setOutputFolderRule(const OutputFolderRule& rule) override;
    // Makes the option window on first use and brings it up.
    template <typename Window, typename Make>
    void openToolWindow(QPointer<Window>& window, Make make);
    bool toolRunning() const;
    bool extensionsEqual() const;
    void applyOutputFolderRule();
    void suggestSourcePath();
    void showAbout();
    void setTopmost(bool on) override;
    void setHourglass(bool on) override;
    void setWindowEnabled(bool enabled) override;
    void letPendingEventsRun() override;

    std::unique_ptr<FormMainUi> m_ui;
    WindowDialogs& m_dialogs;
    const SettingsStore& m_store;
    RunRecord m_record;
    JobContext m_context;
    BatchDriver m_driver;
    std::chrono::milliseconds m_batchDelay;
    QPointer<FormConvert> m_convert;
    QPointer<FormRetime> m_retime;
    std::optional<MainMode> m_currentMode;
    std::optional<QPoint> m_storedPlace;
    QString m_lastFolder;
    QPointer<QWidget> m_focusBeforeJob;
    bool m_hourglass = false;
    bool m_combining = false;
};

} // namespace kovrant
