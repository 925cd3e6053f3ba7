#pragma once

#include "core/lyricsconversion.h"
#include "jobs/jobstate.h"
#include "ui/runrecord.h"

#include <QDialog>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

namespace kovrant {

struct ConvertWindowUi;
struct OutputFolderRow;
struct RetimeWindowUi;

// Where the single combine writes: beside its input, or into the folder as the user gave it.
// The option windows write by the same rule, and show and change the same setting.
struct OutputFolderRule {
    QString folder;
    bool besideInput = true;
};

// What the option windows use of the main window: its state as a job reads it, its file dialogs,
// which start where the user was last, the single combine's output folder rule and the status
// line.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    virtual JobSnapshot snapshot() const = 0;
    virtual std::optional<QString> chooseFile(const QString& title, const QString& pattern,
                                              const QString& fieldPath) = 0;
    virtual QStringList chooseFiles(const QString& title, const QString& pattern) = 0;
    // A folder with its separator, started from the field's text; "" when cancelled.
    virtual QString chooseFolder(const QString& fieldText) = 0;
    virtual OutputFolderRule outputFolderRule() const = 0;
    virtual void setOutputFolderRule(const OutputFolderRule& rule) = 0;
    virtual void showStatus(const QString& text) = 0;
};

// A small window of the options menu that runs one job with the main window's state. It shows
// the single combine's output folder rule when it opens and changes it as the user does. While
// its job runs, the main window and it are disabled through the hooks and it cannot be closed.
class ToolWindow : public QDialog {
    Q_OBJECT

public:
    ToolWindow(ToolHost& host, WindowDialogs& dialogs, WindowHooks& hooks, QWidget* parent);
    ~ToolWindow() override;

    bool isRunning() const { return m_running; }

protected:
    void connectOutputFolder(OutputFolderRow& row);
    // The folder the job writes into, "" for beside its input; nothing, and the user told, when
    // the rule asks for a folder that was not given.
    std::optional<QString> outputFolder();
    // Prepares a run of its own: nothing of an earlier run is remembered.
    void startRun();
    // Keeps the keyboard where it was across a run that disables the window.
    class FocusKeeper;

    void showEvent(QShowEvent* event) override;
    void reject() override;

    ToolHost& m_host;
    WindowDialogs& m_dialogs;
    BatchResults m_results;
    RunRecord m_record;
    JobContext m_context;
    bool m_running = false;

private:
    void showRule();
    void keepRule();

    OutputFolderRow* m_row = nullptr;
    bool m_loading = false;
};

// "形式を変換": files taken by the drop target are converted, after the same delay as the
// main window's batches, to the format chosen, shifted by the milliseconds chosen; one summary
// ends the run.
class FormConvert final : public ToolWindow {
    Q_OBJECT

public:
    FormConvert(ToolHost& host, WindowDialogs& dialogs, WindowHooks& hooks,
                std::chrono::milliseconds delay, QWidget* parent);
    ~FormConvert() override;

    LyricsFormat format() const;
    qint32 shiftMs() const;
    bool isPending() const { return m_timer.isActive(); }
    const QStringList& queue() const { return m_queue; }
    // The timer's tick; public so that tests run a conversion without waiting.
    void runConversion();

private:
    std::unique_ptr<ConvertWindowUi> m_ui;
    QTimer m_timer;
    QStringList m_queue;
};

// "タイミングを引き継ぐ": the timing of the old lyrics carried to the edited lyrics by 実行,
// which waits until both files are named.
class FormRetime final : public ToolWindow {
    Q_OBJECT

public:
    FormRetime(ToolHost& host, WindowDialogs& dialogs, WindowHooks& hooks, QWidget* parent);
    ~FormRetime() override;

    void runRetime();

private:
    std::unique_ptr<RetimeWindowUi> m_ui;
};

} // namespace kovrant
