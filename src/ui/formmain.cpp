#include "ui/formmain.h"

#include "files/fileops.h"
#include "files/paths.h"
#include "jobs/jobpaths.h"
#include "jobs/singlecombine.h"
#include "ui/droptargets.h"
#include "ui/formmainui.h"
#include "ui/helpdocument.h"
#include "ui/windowdialogs.h"
#include "ui/windowservices.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QWindow>

namespace kovrant {

namespace {

QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->itemText(i));
    return items;
}

} // namespace

FormMain::FormMain(WindowDialogs& dialogs, const SettingsStore& store,
                   std::chrono::milliseconds batchDelay, QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<FormMainUi>())
    , m_dialogs(dialogs)
    , m_store(store)
    , m_context{dialogs, *this, m_log}
    , m_driver(
          m_context, [this] { return snapshot(); },
          [this](const QString& text, const QStringList& items) {
              m_ui->CmbNewExt->clear();
              m_ui->CmbNewExt->addItems(items);
              m_ui->CmbNewExt->setEditText(text);
          },
          batchDelay, this)
{
    m_ui->setupUi(this);
    connectControls();
    applySettings(m_store.load());
}

FormMain::~FormMain()
{
    setHourglass(false);
}

void FormMain::connectControls()
{
    FormMainUi& ui = *m_ui;
    connect(ui.modeButtons, &QButtonGroup::idClicked, this,
            [this](int id) { switchMode(static_cast<MainMode>(id)); });
    connect(ui.ComOption, &QPushButton::clicked, this,
            [this] { m_ui->z_mnPopup->popup(QCursor::pos()); });

    connect(ui.ChkSameTTD, &QCheckBox::toggled, this, &FormMain::applyOutputFolderRule);
    connect(ui.ComTTD, &QPushButton::clicked, this, [this] {
        if (const auto path = m_dialogs.openFile(u'*' + m_ui->CmbExt[2]->currentText())) {
            m_ui->txtTTD->setText(*path);
            suggestSourcePath();
        }
    });
    connect(ui.comSozai, &QPushButton::clicked, this, [this] {
        if (const auto path = m_dialogs.openFile(u'*' + m_ui->CmbExt[1]->currentText()))
            m_ui->txtSozai->setText(*path);
    });
    connect(ui.comOut, &QPushButton::clicked, this, [this] {
        const QString folder = m_dialogs.pickFolder();
        if (!folder.isEmpty())
            m_ui->txtOut->setText(AddBackslash(folder));
    });
    connect(ui.ComAttach, &QPushButton::clicked, this, [this] {
        const QScopedValueRollback combining(m_combining, true);
        m_context.writtenThisRun.clear(); // each click is a run of its own
        SingleCombine(snapshot(), m_context);
    });

    // A path field takes a drag by its first path: a TTD file, a source-lyrics file, a folder.
    ui.txtTTD->setDropRule(
        [this](const QString& path) {
            return !FilterDrop({path}, m_ui->CmbExt[2]->currentText()).isEmpty();
        },
        [this](const QString& path) {
            m_ui->txtTTD->setText(path);
            suggestSourcePath();
        });
    ui.txtSozai->setDropRule(
        [this](const QString& path) {
            return !FilterDrop({path}, m_ui->CmbExt[1]->currentText()).isEmpty();
        },
        [this](const QString& path) { m_ui->txtSozai->setText(path); });
    ui.txtOut->setDropRule(
        [](const QString& path) { return FolderExists(path); },
        [this](const QString& path) { m_ui->txtOut->setText(AddBackslash(path)); });

    ui.lblDropDivide->setDropHandler([this](const QStringList& files) {
        return m_driver.dropOnDivide(files, m_ui->CmbExt[0]->currentText());
    });
    ui.lblDropAttach->setDropHandler([this](const QStringList& files) {
        return m_driver.dropOnCombine(files, m_ui->CmbExt[2]->currentText());
    });
    ui.lblDropExt->setDropHandler(
        [this](const QStringList& files) { return m_driver.dropOnExtensionTool(files); });

    connect(ui.mnAlways, &QAction::triggered, this, &FormMain::setTopmost);
    connect(ui.mnHelp, &QAction::triggered, this,
            [this] { OpenDocument(FindHelpDocument(HelpFolders())); });
    connect(ui.mnAbout, &QAction::triggered, this, &FormMain::showAbout);
    connect(ui.mnExit, &QAction::triggered, this, &FormMain::close);
}

void FormMain::applySettings(const StoredSettings& values)
{
    FormMainUi& ui = *m_ui;
    ui.mnAlways->setChecked(values.alwaysTop);
    if (values.alwaysTop)
        setTopmost(true);
    ui.mnOverwrite->setChecked(values.overwrite);
    ui.mnNoCRCCheck->setChecked(values.noCrcCheck);
    for (QAction* ratio : ui.mnTimeRatio)
        ratio->setChecked(ratio->data().value<TimeRatioChoice>() == values.timeRatio);
    ui.CmbExt[0]->setCurrentIndex(values.ext0);
    ui.CmbExt[1]->setCurrentIndex(values.ext1);
    ui.txtOut->setText(values.outFolder);
    ui.ChkSameTTD->setChecked(values.sameTtd);
    applyOutputFolderRule();
    ui.CmbNewExt->addItems(values.newExtensions);
    ui.CmbNewExt->setCurrentIndex(-1);
    ui.CmbNewExt->setEditText(QString());
    // Equal extensions can only be used where the guard keeps them from leaving.
    switchMode(extensionsEqual() ? MainMode::ExtensionSettings : values.lastMode);
}

StoredSettings FormMain::storedSettings() const
{
    const FormMainUi& ui = *m_ui;
    StoredSettings values;
    values.alwaysTop = ui.mnAlways->isChecked();
    values.overwrite = ui.mnOverwrite->isChecked();
    values.noCrcCheck = ui.mnNoCRCCheck->isChecked();
    values.timeRatio = snapshot().timeRatio;
    values.ext0 = ui.CmbExt[0]->currentIndex();
    values.ext1 = ui.CmbExt[1]->currentIndex();
    values.outFolder = ui.txtOut->text();
    values.sameTtd = ui.ChkSameTTD->isChecked();
    values.newExtensions = Items(ui.CmbNewExt);
    values.lastMode = m_currentMode.value_or(values.lastMode);
    return values;
}

JobSnapshot FormMain::snapshot() const
{
    const FormMainUi& ui = *m_ui;
    JobSnapshot state;
    state.alwaysOnTop = ui.mnAlways->isChecked();
    state.overwriteWithoutAsking = ui.mnOverwrite->isChecked();
    state.skipCrcCheck = ui.mnNoCRCCheck->isChecked();
    if (const QAction* checked = ui.timeRatioGroup->checkedAction())
        state.timeRatio = checked->data().value<TimeRatioChoice>();
    state.lyricsExtension = ui.CmbExt[0]->currentText();
    state.sourceExtension = ui.CmbExt[1]->currentText();
    state.ttdExtension = ui.CmbExt[2]->currentText();
    state.ttdPath = ui.txtTTD->text();
    state.sourcePath = ui.txtSozai->text();
    state.outputFolder = ui.txtOut->text();
    state.outputBesideTtd = ui.ChkSameTTD->isChecked();
    state.newExtension = ui.CmbNewExt->currentText();
    state.recentNewExtensions = Items(ui.CmbNewExt);
    return state;
}

void FormMain::closeEvent(QCloseEvent* event)
{
    // A job in the middle of its files runs the window's events between them; it finishes first.
    if (m_driver.isRunning() || m_combining) {
        event->ignore();
        return;
    }
    m_store.save(storedSettings());
    event->accept();
}

void FormMain::switchMode(MainMode mode)
{
    if (m_currentMode == MainMode::ExtensionSettings && mode != MainMode::ExtensionSettings &&
        extensionsEqual()) {
        m_ui->OptMode[ModeIndex(MainMode::ExtensionSettings)]->setChecked(true);
        m_dialogs.warnEqualExtensions();
        m_ui->CmbExt[0]->setFocus();
        return;
    }
    m_currentMode = mode;
    m_ui->OptMode[ModeIndex(mode)]->setChecked(true);
    m_ui->panels->setCurrentIndex(static_cast<int>(ModeIndex(mode)));
}

bool FormMain::extensionsEqual() const
{
    return m_ui->CmbExt[0]->currentText() == m_ui->CmbExt[1]->currentText();
}

void FormMain::applyOutputFolderRule()
{
    // The output folder keeps its text while the TTD file's folder is used instead.
    const bool ownFolder = !m_ui->ChkSameTTD->isChecked();
    m_ui->txtOut->setEnabled(ownFolder);
    m_ui->comOut->setEnabled(ownFolder);
}

void FormMain::suggestSourcePath()
{
    const QString ttd = m_ui->txtTTD->text();
    if (!ttd.isEmpty())
        m_ui->txtSozai->setText(SiblingPath(ttd, m_ui->CmbExt[1]->currentText()));
}

void FormMain::showAbout()
{
    // The About window takes the topmost band while it is open.
    setTopmost(false);
    m_dialogs.showAbout();
    if (m_ui->mnAlways->isChecked())
        setTopmost(true);
}

void FormMain::setTopmost(bool on)
{
    // The flag goes to the native window, made now if need be, so that it is never set through
    // the widget, which would re-create a shown window.
    if (!windowHandle())
        create();
    SetTopmost(windowHandle(), on);
}

void FormMain::setHourglass(bool on)
{
    if (on == m_hourglass)
        return;
    m_hourglass = on;
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void FormMain::setWindowEnabled(bool enabled)
{
    setEnabled(enabled);
}

void FormMain::letPendingEventsRun()
{
    QCoreApplication::processEvents();
}

} // namespace kovrant
