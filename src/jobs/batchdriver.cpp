#include "jobs/batchdriver.h"

#include "files/paths.h"
#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"

#include <QScopedValueRollback>

#include <utility>

namespace kovrant {

namespace {

constexpr qsizetype DropKeyLength = 3;

BatchSummary SummaryOf(bool allOk)
{
    return allOk ? BatchSummary::AllOk : BatchSummary::SomeErrors;
}

} // namespace

QString DropKey(const QString& extensionSetting)
{
    return extensionSetting.right(DropKeyLength).toLower();
}

QStringList FilterDrop(const QStringList& paths, const QString& extensionSetting)
{
    const QString key = DropKey(extensionSetting);
    QStringList accepted;
    // A shorter key would match names without an extension.
    if (key.size() != DropKeyLength)
        return accepted;
    for (const QString& path : paths) {
        if (ExtensionPart(path).toLower() == key)
            accepted.append(path);
    }
    return accepted;
}

BatchDriver::BatchDriver(JobContext& context, std::function<JobSnapshot()> snapshot,
                         std::function<void(const QString&, const QStringList&)> applyNewExtension,
                         std::chrono::milliseconds delay, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_snapshot(std::move(snapshot))
    , m_applyNewExtension(std::move(applyNewExtension))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delay);
    connect(&m_timer, &QTimer::timeout, this, &BatchDriver::runBatch);
}

bool BatchDriver::dropOnDivide(const QStringList& paths, const QString& lyricsExtension)
{
    const QStringList matching = FilterDrop(paths, lyricsExtension);
    return takeDrop(paths, matching,
                    matching.isEmpty() ? BatchMode::NoFiles : BatchMode::DivideFiles);
}

bool BatchDriver::dropOnCombine(const QStringList& paths, const QString& ttdExtension)
{
    const QStringList matching = FilterDrop(paths, ttdExtension);
    return takeDrop(paths, matching,
                    matching.isEmpty() ? BatchMode::NoFiles : BatchMode::CombineFiles);
}

bool BatchDriver::dropOnExtensionTool(const QStringList& paths)
{
    // Every dropped path is renamed, whatever its extension or kind.
    return takeDrop(paths, paths, BatchMode::RenameExtensions);
}

bool BatchDriver::takeDrop(const QStringList& dropped, const QStringList& queue, BatchMode mode)
{
    // A drop while a batch waits or runs leaves that batch's queue alone.
    if (m_timer.isActive() || m_running || dropped.isEmpty())
        return false;
    m_batchQueue = queue;
    m_batchMode = mode;
    m_timer.start();
    return true;
}

void BatchDriver::runBatch()
{
    if (m_running)
        return;
    m_timer.stop();
    m_context.writtenThisRun.clear();
    {
        const QScopedValueRollback running(m_running, true);
        const JobSnapshot state = m_snapshot();
        // With "always on top" the window is topmost already and stays so afterwards.
        const WindowBusy busy(m_context.hooks, !state.alwaysOnTop);
        const BatchSummary summary = runJob(state);
        m_context.dialogs.showSummary(summary);
        // Only a rename in which every file got its new name moves the extension to the top of
        // the recent list; a batch with any failure leaves the list as it was.
        if (m_batchMode == BatchMode::RenameExtensions && summary == BatchSummary::AllOk) {
            const QString newExtension = StripLeadingDots(state.newExtension);
            m_applyNewExtension(newExtension,
                                RememberNewExtension(newExtension, state.recentNewExtensions));
        }
    }
    Q_EMIT batchFinished();
}

BatchSummary BatchDriver::runJob(const JobSnapshot& state)
{
    m_batchResults.clear();
    switch (m_batchMode) {
    case BatchMode::NoFiles:
        // The pointer is normal again while this message is shown.
        m_context.hooks.setHourglass(false);
        return BatchSummary::NoFiles;
    case BatchMode::DivideFiles:
        return SummaryOf(BatchDivide(m_batchQueue, state, m_context, m_batchResults));
    case BatchMode::CombineFiles:
        return SummaryOf(BatchCombine(m_batchQueue, state, m_context, m_batchResults));
    case BatchMode::RenameExtensions: {
        const QString newExtension = StripLeadingDots(state.newExtension);
        m_applyNewExtension(newExtension, state.recentNewExtensions);
        if (newExtension.isEmpty())
            return BatchSummary::NoNewExtension;
        return SummaryOf(BatchRename(m_batchQueue, newExtension, m_context, m_batchResults));
    }
    }
    return BatchSummary::SomeErrors;
}

} // namespace kovrant
