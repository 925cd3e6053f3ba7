#pragma once

#include "jobs/batchdriver.h"
#include "jobs/jobstate.h"
#include "ui/settings.h"

#include <QWidget>

#include <chrono>
#include <memory>
#include <optional>

namespace kovrant {

struct FormMainUi;
class WindowDialogs;

// The main window. It holds the live value of every setting in its controls, loads them from
// the store when it is made and saves them when it closes; its handlers forward to the jobs,
// the batch driver and the dialogs.
class FormMain : public QWidget, private WindowHooks {
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
    JobSnapshot snapshot() const;
    StoredSettings storedSettings() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applySettings(const StoredSettings& values);
    void connectControls();
    void switchMode(MainMode mode);
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
    JobLog m_log;
    JobContext m_context;
    BatchDriver m_driver;
    std::optional<MainMode> m_currentMode;
    bool m_hourglass = false;
    bool m_combining = false;
};

} // namespace kovrant
