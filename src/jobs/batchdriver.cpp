#include "jobs/batchdriver.h"

#include "files/paths.h"
#include "jobs/batchjobs.h"
#include "jobs/extensionconversion.h"
#include "jobs/messages.h"

#include <utility>

namespace kovrant {

namespace {

constexpr int Timer1Interval = 200; // ms between the drop and the batch
constexpr qsizetype DropKeyLength = 3;

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
                         QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_snapshot(std::move(snapshot))
    , m_applyNewExtension(std::move(applyNewExtension))
{
    Timer1.setSingleShot(true);
    Timer1.setInterval(Timer1Interval);
    connect(&Timer1, &QTimer::timeout, this, &BatchDriver::RunBatch);
}

bool BatchDriver::dropOnDivide(const QStringList& paths, const QString& timeTaggedExtension)
{
    const QStringList matching = FilterDrop(paths, timeTaggedExtension);
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
    if (Timer1.isActive() || m_running || dropped.isEmpty())
        return false;
    m_batchQueue = queue;
    m_batchMode = mode;
    Timer1.start();
    return true;
}

void BatchDriver::RunBatch()
{
    if (m_running)
        return;
    m_running = true;
    Timer1.stop();
    m_context.hooks.setWindowEnabled(false);
    m_context.hooks.setHourglass(true);
    const JobSnapshot state = m_snapshot();
    // With "always on top" the window is topmost already and stays so afterwards.
    const bool raiseForRun = !state.mnAlways;
    if (raiseForRun)
        m_context.hooks.setTopmost(true);

    UserDialogs& dialogs = m_context.dialogs;
    switch (m_batchMode) {
    case BatchMode::NoFiles:
        m_batchResults.clear();
        m_context.hooks.setHourglass(false);
        dialogs.showInfo(JobText::NoFiles.toString());
        break;
    case BatchMode::DivideFiles:
        dialogs.showInfo(BatchSummary(BatchDivide(m_batchQueue, state, m_context, m_batchResults)));
        break;
    case BatchMode::CombineFiles:
        dialogs.showInfo(
            BatchSummary(BatchCombine(m_batchQueue, state, m_context, m_batchResults)));
        break;
    case BatchMode::RenameExtensions: {
        const QString newExtension = StripLeadingDots(state.CmbNewExt);
        m_applyNewExtension(newExtension, state.CmbNewExtItems);
        if (newExtension.isEmpty()) {
            m_batchResults.clear();
            dialogs.showInfo(JobText::NoNewExtension.toString());
            break;
        }
        const bool allOk = BatchRename(m_batchQueue, newExtension, m_context, m_batchResults);
        dialogs.showInfo(BatchSummary(allOk));
        // A batch with any failure leaves the recent list as it was.
        if (allOk)
            m_applyNewExtension(newExtension,
                                RememberNewExtension(newExtension, state.CmbNewExtItems));
        break;
    }
    }

    m_context.hooks.setHourglass(false);
    m_context.hooks.setWindowEnabled(true);
    if (raiseForRun)
        m_context.hooks.setTopmost(false);
    m_running = false;
    Q_EMIT batchFinished();
}

} // namespace kovrant
