#pragma once

#include "jobs/jobstate.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace kovrant {

enum class BatchMode : qint32 {
    NoFiles = -1,
    DivideFiles = 0,
    CombineFiles = 1,
    RenameExtensions = 2,
};

// The time between an accepted drop and its batch, so that the drop has ended first.
inline constexpr std::chrono::milliseconds BatchDelay{200};

// The last three characters of an extension setting, lower-cased (".LRC" gives "lrc").
QString DropKey(const QString& extensionSetting);

// The dropped paths whose lower-cased extension equals the key of extensionSetting, in order.
// A setting of two letters keeps its dot in the key and matches nothing; so does a setting of
// fewer than three characters.
QStringList FilterDrop(const QStringList& paths, const QString& extensionSetting);

// Takes drops on the three drop targets and runs the batch after a delay, in one tick of its
// timer, ending with one summary. Drops are ignored while a batch is pending or running.
class BatchDriver : public QObject {
    Q_OBJECT

public:
    // snapshot gives the window's state when the batch starts; applyNewExtension writes the
    // extension tool's text and recent list back to the window.
    BatchDriver(
        JobContext& context, std::function<JobSnapshot()> snapshot,
        std::function<void(const QString& text, const QStringList& items)> applyNewExtension,
        std::chrono::milliseconds delay = BatchDelay, QObject* parent = nullptr);

    // Each returns whether the drop was taken: not while a batch is pending or running, and not
    // for an empty list (a drop that carries no files). A divide or combine drop without a
    // matching file is taken as NoFiles, so that the batch reports it.
    bool dropOnDivide(const QStringList& paths, const QString& lyricsExtension);
    bool dropOnCombine(const QStringList& paths, const QString& ttdExtension);
    bool dropOnExtensionTool(const QStringList& paths);

    bool isPending() const { return m_timer.isActive(); }
    bool isRunning() const { return m_running; }
    BatchMode batchMode() const { return m_batchMode; }
    const QStringList& batchQueue() const { return m_batchQueue; }
    const BatchResults& batchResults() const { return m_batchResults; }

    // The timer's tick; public so that tests run a batch without waiting. Locks the window
    // through the hooks, runs the job of the batch mode and shows one summary.
    void runBatch();

Q_SIGNALS:
    void batchFinished();

private:
    bool takeDrop(const QStringList& dropped, const QStringList& queue, BatchMode mode);
    BatchSummary runJob(const JobSnapshot& state);

    JobContext& m_context;
    std::function<JobSnapshot()> m_snapshot;
    std::function<void(const QString&, const QStringList&)> m_applyNewExtension;
    QTimer m_timer;
    QStringList m_batchQueue;
    BatchMode m_batchMode = BatchMode::NoFiles;
    BatchResults m_batchResults;
    bool m_running = false;
};

} // namespace kovrant
