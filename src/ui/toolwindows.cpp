#include "ui/toolwindows.h"

#include "files/fileops.h"
#include "files/paths.h"
#include "files/textfiles.h"
#include "jobs/fileoutcome.h"
#include "jobs/formatconversion.h"
#include "jobs/jobpaths.h"
#include "jobs/retimejob.h"
#include "ui/droptargets.h"
#include "ui/messagetexts.h"
#include "ui/toolwindowsui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>

#include <utility>

namespace kovrant {

namespace {

QString Tr(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

} // namespace

class ToolWindow::FocusKeeper {
public:
    explicit FocusKeeper(QWidget* window)
        : m_focus(window->focusWidget())
    {}
    ~FocusKeeper()
    {
        if (m_focus)
            m_focus->setFocus(Qt::OtherFocusReason);
    }
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    QPointer<QWidget> m_focus;
};

ToolWindow::ToolWindow(ToolHost& host, WindowDialogs& dialogs, WindowHooks& hooks, QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_dialogs(dialogs)
    , m_record(dialogs, [this] { return m_results; })
    , m_context{m_record, hooks, m_record}
{
    // The main window waits while this one is open, so that the setting they share and the
    // files of a later start cannot change under it.
    setWindowModality(Qt::WindowModal);
}

ToolWindow::~ToolWindow() = default;

void ToolWindow::connectOutputFolder(OutputFolderRow& row)
{
    m_row = &row;
    connect(row.beside, &QCheckBox::toggled, this, [this](bool beside) {
        m_row->folder->setEnabled(!beside);
        m_row->browse->setEnabled(!beside);
        keepRule();
    });
    connect(row.folder, &QLineEdit::textChanged, this, &ToolWindow::keepRule);
    connect(row.browse, &QPushButton::clicked, this, [this] {
        const QString folder = m_host.chooseFolder(m_row->folder->text());
        if (!folder.isEmpty())
            m_row->folder->setText(folder);
    });
    row.folder->setDropRule(
        [](const QString& path) { return FolderExists(path); },
        [this](const QString& path) { m_row->folder->setText(AddBackslash(path)); });
}

void ToolWindow::showRule()
{
    const OutputFolderRule rule = m_host.outputFolderRule();
    // Both at once: a rule half shown must not be kept.
    const QScopedValueRollback loading(m_loading, true);
    m_row->folder->setText(rule.folder);
    m_row->beside->setChecked(rule.besideInput);
    m_row->folder->setEnabled(!rule.besideInput);
    m_row->browse->setEnabled(!rule.besideInput);
}

void ToolWindow::keepRule()
{
    if (!m_loading)
        m_host.setOutputFolderRule({m_row->folder->text(), m_row->beside->isChecked()});
}

std::optional<QString> ToolWindow::outputFolder()
{
    if (m_row->beside->isChecked())
        return QString();
    const QString folder = m_row->folder->text();
    if (folder.isEmpty()) {
        m_record.reportOutputFolderMissing();
        return std::nullopt;
    }
    return folder;
}

void ToolWindow::startRun()
{
    m_context.writtenThisRun.clear();
    m_record.clear();
}

void ToolWindow::showEvent(QShowEvent* event)
{
    showRule();
    QDialog::showEvent(event);
}

// Escape, 閉じる and the close box all end here.
void ToolWindow::reject()
{
    // A job lets the window's events run between its files; it finishes first.
    if (!m_running)
        QDialog::reject();
}

FormConvert::FormConvert(ToolHost& host, WindowDialogs& dialogs, WindowHooks& hooks,
                         std::chrono::milliseconds delay, QWidget* parent)
    : ToolWindow(host, dialogs, hooks, parent)
    , m_ui(std::make_unique<ConvertWindowUi>())
{
    m_ui->setupUi(this);
    connectOutputFolder(m_ui->out);
    connect(m_ui->comClose, &QPushButton::clicked, this, &QDialog::reject);

    m_timer.setSingleShot(true);
    m_timer.setInterval(delay);
    connect(&m_timer, &QTimer::timeout, this, &FormConvert::runConversion);
    // Any file may be given: what it holds says whether it can be converted.
    m_ui->lblDropConvert->setIntake(
        [this](const QStringList&) { return !m_running && !m_timer.isActive(); },
        [this](const QStringList& files) {
            m_queue = files;
            m_timer.start();
            return true;
        });
    m_ui->lblDropConvert->setChooser([this] {
        return m_host.chooseFiles(
            Tr("FormConvert", QT_TRANSLATE_NOOP("FormConvert", "変換するファイルを開く")),
            QString());
    });
}

FormConvert::~FormConvert() = default;

LyricsFormat FormConvert::format() const
{
    return static_cast<LyricsFormat>(m_ui->cmbFormat->currentData().toInt());
}

qint32 FormConvert::shiftMs() const
{
    return m_ui->spnShift->value();
}

void FormConvert::runConversion()
{
    if (m_running)
        return;
    m_timer.stop();
    const QStringList queue = std::exchange(m_queue, {});
    if (queue.isEmpty())
        return;
    startRun();
    bool ran = false;
    {
        const QScopedValueRollback running(m_running, true);
        const JobSnapshot state = m_host.snapshot();
        const std::optional<QString> folder = outputFolder();
        if (!folder || !CheckOutputFolder(*folder, m_context))
            return m_host.showStatus(CombineStatus({}));
        const ConvertRequest request{format(), shiftMs(), *folder};
        if (const std::optional<QString> input =
                InputReplacedByOutput(ConvertFiles(queue, request.to, *folder, state))) {
            m_dialogs.reportOwnOutput(*input);
            return m_host.showStatus(CombineStatus({}));
        }
        const FocusKeeper focus(this);
        // As the main window's batches: raised for the run unless it is on top already.
        const WindowBusy busy(m_context.hooks, !state.alwaysOnTop);
        const bool allOk = BatchConvert(queue, request, state, m_context, m_results);
        m_record.showSummary(allOk ? BatchSummary::AllOk : BatchSummary::SomeErrors);
        ran = true;
    }
    if (ran)
        m_host.showStatus(BatchStatus(m_record.report()));
    m_record.clear();
}

FormRetime::FormRetime(ToolHost& host, WindowDialogs& dialogs, WindowHooks& hooks, QWidget* parent)
    : ToolWindow(host, dialogs, hooks, parent)
    , m_ui(std::make_unique<RetimeWindowUi>())
{
    m_ui->setupUi(this);
    connectOutputFolder(m_ui->out);
    connect(m_ui->comClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->comRun, &QPushButton::clicked, this, &FormRetime::runRetime);

    const auto bothNamed = [this] {
        m_ui->comRun->setEnabled(!m_ui->txtOld->text().isEmpty() &&
                                 !m_ui->txtNew->text().isEmpty());
    };
    bothNamed();
    const std::array<std::pair<PathField*, QPushButton*>, 2> files{
        {{m_ui->txtOld, m_ui->comOld}, {m_ui->txtNew, m_ui->comNew}}};
    for (const auto& [field, browse] : files) {
        connect(field, &QLineEdit::textChanged, this, bothNamed);
        // Either file may have any extension; its content decides.
        field->setDropRule([](const QString& path) { return FileExists(path); },
                           [field](const QString& path) { field->setText(path); });
        connect(browse, &QPushButton::clicked, this, [this, field, browse] {
            if (const auto path =
                    m_host.chooseFile(browse->accessibleName(), QString(), field->text()))
                field->setText(*path);
        });
    }
}

FormRetime::~FormRetime() = default;

void FormRetime::runRetime()
{
    if (m_running || !m_ui->comRun->isEnabled())
        return;
    startRun();
    {
        const QScopedValueRollback running(m_running, true);
        const JobSnapshot state = m_host.snapshot();
        const std::optional<QString> folder = outputFolder();
        if (!folder)
            return m_host.showStatus(CombineStatus({}));
        const RetimeRequest request{m_ui->txtOld->text(), m_ui->txtNew->text(), *folder};
        if (const std::optional<QString> input = InputReplacedByOutput(
                RetimeFiles(request.oldFile, request.newFile, request.outputFolder, state))) {
            m_dialogs.reportOwnOutput(*input);
            return m_host.showStatus(CombineStatus({}));
        }
        const FocusKeeper focus(this);
        const WindowBusy busy(m_context.hooks);
        Retime(request, state, m_context);
    }
    m_host.showStatus(CombineStatus(m_record.report()));
    m_record.clear();
}

} // namespace kovrant
