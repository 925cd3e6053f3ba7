#include "ui/formmain.h"

#include "files/fileops.h"
#include "files/paths.h"
#include "jobs/jobpaths.h"
#include "jobs/singlecombine.h"
#include "ui/droptargets.h"
#include "ui/formmainui.h"
#include "ui/helpdocument.h"
#include "ui/messagetexts.h"
#include "ui/windowdialogs.h"
#include "ui/windowservices.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
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

QString Tr(const char* text)
{
    return QCoreApplication::translate("FormMain", text);
}

// A stored place is taken again only where the top of the window, which the title bar holds,
// is on a screen far enough to be grabbed.
bool WithinReach(const QPoint& place, const QSize& size)
{
    constexpr int TitleBar = 24;
    constexpr int Grip = 64;
    const QRect top(place, QSize(size.width(), TitleBar));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(top);
        if (seen.width() >= std::min(Grip, size.width()) && seen.height() >= TitleBar / 2)
            return true;
    }
    return false;
}

// The folder of a file field's path; "" for a field without an absolute path.
QString FolderOfFile(const QString& path)
{
    return QDir::isAbsolutePath(path) ? QFileInfo(path).path() : QString();
}

} // namespace

FormMain::FormMain(WindowDialogs& dialogs, const SettingsStore& store,
                   std::chrono::milliseconds batchDelay, QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<FormMainUi>())
    , m_dialogs(dialogs)
    , m_store(store)
    , m_record(dialogs, [this] { return m_driver.batchResults(); })
    , m_context{m_record, *this, m_record}
    , m_driver(
          m_context, [this] { return snapshot(); },
          [this](const QString& text, const QStringList& items) {
              m_ui->CmbNewExt->clear();
              m_ui->CmbNewExt->addItems(items);
              m_ui->CmbNewExt->setEditText(text);
          },
          batchDelay, this)
    , m_batchDelay(batchDelay)
{
    m_ui->setupUi(this);
    connectControls();
    connectTargets();
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
    for (std::size_t mode = 0; mode < ui.modeKeys.size(); ++mode)
        connect(ui.modeKeys[mode], &QShortcut::activated, this,
                [this, mode] { switchByKey(static_cast<MainMode>(mode)); });

    connect(ui.ChkSameTTD, &QCheckBox::toggled, this, &FormMain::applyOutputFolderRule);
    connect(ui.ComTTD, &QPushButton::clicked, this, [this] {
        if (const auto path =
                chooseFile(Tr(QT_TRANSLATE_NOOP("FormMain", "タイムタグデータファイルを開く")),
                           u'*' + m_ui->CmbExt[2]->currentText(), m_ui->txtTTD->text())) {
            m_ui->txtTTD->setText(*path);
            suggestSourcePath();
        }
    });
    connect(ui.comSozai, &QPushButton::clicked, this, [this] {
        if (const auto path =
                chooseFile(Tr(QT_TRANSLATE_NOOP("FormMain", "素材ファイルを開く")),
                           u'*' + m_ui->CmbExt[1]->currentText(), m_ui->txtSozai->text()))
            m_ui->txtSozai->setText(*path);
    });
    connect(ui.comOut, &QPushButton::clicked, this, [this] {
        const QString folder = chooseFolder(m_ui->txtOut->text());
        if (!folder.isEmpty())
            m_ui->txtOut->setText(folder);
    });
    connect(ui.ComAttach, &QPushButton::clicked, this, [this] {
        const QScopedValueRollback combining(m_combining, true);
        m_context.writtenThisRun.clear(); // each click is a run of its own
        m_record.clear();
        SingleCombine(snapshot(), m_context);
        showStatus(CombineStatus(m_record.report()));
        m_record.clear();
    });
    for (PathField* field : {ui.txtTTD, ui.txtSozai, ui.txtOut})
        connect(field, &QLineEdit::returnPressed, ui.ComAttach, &QPushButton::click);
    connect(&m_driver, &BatchDriver::batchFinished, this, [this] {
        showStatus(BatchStatus(m_record.report()));
        m_record.clear();
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

    connect(ui.mnAlways, &QAction::triggered, this, &FormMain::setTopmost);
    connect(ui.mnOverwrite, &QAction::toggled, this, &FormMain::showOptionMarks);
    connect(ui.mnNoCRCCheck, &QAction::toggled, this, &FormMain::showOptionMarks);
    connect(ui.timeRatioGroup, &QActionGroup::triggered, this, &FormMain::showOptionMarks);
    connect(ui.mnConvert, &QAction::triggered, this, [this] {
        openToolWindow(m_convert, [this] {
            return new FormConvert(*this, m_dialogs, *this, m_batchDelay, this);
        });
    });
    connect(ui.mnRetime, &QAction::triggered, this, [this] {
        openToolWindow(m_retime, [this] { return new FormRetime(*this, m_dialogs, *this, this); });
    });
    connect(ui.mnHelp, &QAction::triggered, this,
            [this] { OpenDocument(FindHelpDocument(HelpFolders())); });
    connect(ui.mnAbout, &QAction::triggered, this, &FormMain::showAbout);
    connect(ui.mnExit, &QAction::triggered, this, &FormMain::close);
}

void FormMain::connectTargets()
{
    // The three drop targets take files however they come: dropped, chosen in a dialog that
    // lists what a drop would take, or pasted. None is taken while a batch waits or runs.
    const auto open = [this](const QStringList&) {
        return !m_driver.isPending() && !m_driver.isRunning();
    };
    FormMainUi& ui = *m_ui;
    ui.lblDropDivide->setIntake(open, [this](const QStringList& files) {
        return m_driver.dropOnDivide(files, m_ui->CmbExt[0]->currentText());
    });
    ui.lblDropDivide->setChooser([this] {
        return chooseFiles(Tr(QT_TRANSLATE_NOOP("FormMain", "タイムタグ付き歌詞ファイルを開く")),
                           u'*' + m_ui->CmbExt[0]->currentText());
    });
    ui.lblDropAttach->setIntake(open, [this](const QStringList& files) {
        return m_driver.dropOnCombine(files, m_ui->CmbExt[2]->currentText());
    });
    ui.lblDropAttach->setChooser([this] {
        return chooseFiles(Tr(QT_TRANSLATE_NOOP("FormMain", "タイムタグデータファイルを開く")),
                           u'*' + m_ui->CmbExt[2]->currentText());
    });
    ui.lblDropExt->setIntake(
        open, [this](const QStringList& files) { return m_driver.dropOnExtensionTool(files); });
    ui.lblDropExt->setChooser([this] {
        return chooseFiles(Tr(QT_TRANSLATE_NOOP("FormMain", "拡張子を変換するファイルを開く")),
                           QString());
    });
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
    showOptionMarks();
    // Equal extensions can only be used where the guard keeps them from leaving.
    switchMode(extensionsEqual() ? MainMode::ExtensionSettings : values.lastMode);
    m_lastFolder = values.lastFolder;
    m_storedPlace = values.windowPlace;
    if (m_storedPlace && WithinReach(*m_storedPlace, sizeHint()))
        move(*m_storedPlace);
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
    values.windowPlace = isVisible() ? std::optional(pos()) : m_storedPlace;
    values.lastFolder = m_lastFolder;
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
    if (m_driver.isRunning() || m_combining || toolRunning()) {
        event->ignore();
        return;
    }
    if (!m_store.save(storedSettings()))
        m_dialogs.reportSettingsNotSaved(m_store.path());
    event->accept();
}

void FormMain::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool FormMain::takeFiles(const QStringList& files)
{
    if (files.isEmpty())
        return false;
    bool taken = false;
    const FormMainUi& ui = *m_ui;
    if (isEnabled() && !m_combining && !QApplication::activeModalWidget() && m_currentMode) {
        switch (*m_currentMode) {
        case MainMode::BatchDivide:
            taken = ui.lblDropDivide->take(files);
            break;
        case MainMode::Combine:
            taken = ui.txtTTD->take(files);
            break;
        case MainMode::BatchCombine:
            taken = ui.lblDropAttach->take(files);
            break;
        case MainMode::ExtensionSettings:
            break;
        case MainMode::ExtensionTool:
            taken = ui.lblDropExt->take(files);
            break;
        }
    }
    if (!taken)
        showStatus(FilesNotTakenStatus());
    return taken;
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

void FormMain::switchByKey(MainMode mode)
{
    QWidget* panel = m_ui->Frame[ModeIndex(mode)];
    m_ui->OptMode[ModeIndex(mode)]->click();
    if (m_currentMode != mode)
        return;
    // The keyboard goes on in the panel it has chosen.
    for (QWidget* next = panel->nextInFocusChain(); next != panel;
         next = next->nextInFocusChain()) {
        if (panel->isAncestorOf(next) && next->isEnabled() &&
            (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            next->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void FormMain::showOptionMarks()
{
    const FormMainUi& ui = *m_ui;
    ui.lblNoCRCCheck->setVisible(ui.mnNoCRCCheck->isChecked());
    ui.lblOverwrite->setVisible(ui.mnOverwrite->isChecked());
    const QAction* ratio = ui.timeRatioGroup->checkedAction();
    const bool forced =
        ratio && ratio->data().value<TimeRatioChoice>() != TimeRatioChoice::Unchanged;
    if (forced)
        ui.lblTimeRatio->setText(ratio->text());
    ui.lblTimeRatio->setVisible(forced);
}

void FormMain::showStatus(const QString& text)
{
    m_ui->lblStatus->setText(text);
    m_ui->lblStatus->setToolTip(text);
}

QString FormMain::startFolder(const QString& folderOfField) const
{
    for (const QString& folder : {folderOfField, m_lastFolder}) {
        if (!folder.isEmpty() && FolderExists(folder))
            return folder;
    }
    return QDir::homePath();
}

std::optional<QString> FormMain::chooseFile(const QString& title, const QString& pattern,
                                            const QString& fieldPath)
{
    const auto path = m_dialogs.openFile({title, pattern, startFolder(FolderOfFile(fieldPath))});
    if (path)
        m_lastFolder = FolderOfFile(*path);
    return path;
}

QStringList FormMain::chooseFiles(const QString& title, const QString& pattern)
{
    const QStringList files = m_dialogs.openFiles({title, pattern, startFolder(QString())});
    if (!files.isEmpty())
        m_lastFolder = FolderOfFile(files.constFirst());
    return files;
}

QString FormMain::chooseFolder(const QString& fieldText)
{
    const QString folder = m_dialogs.pickFolder(startFolder(fieldText));
    if (folder.isEmpty())
        return folder;
    m_lastFolder = folder;
    return AddBackslash(folder);
}

OutputFolderRule FormMain::outputFolderRule() const
{
    return {m_ui->txtOut->text(), m_ui->ChkSameTTD->isChecked()};
}

void FormMain::setOutputFolderRule(const OutputFolderRule& rule)
{
    m_ui->txtOut->setText(rule.folder);
    m_ui->ChkSameTTD->setChecked(rule.besideInput);
}

template <typename Window, typename Make>
void FormMain::openToolWindow(QPointer<Window>& window, Make make)
{
    if (!window) {
        window = make();
        window->addAction(m_ui->mnHelp); // F1 there too
    }
    window->show();
    window->raise();
    window->activateWindow();
}

bool FormMain::toolRunning() const
{
    return (m_convert && m_convert->isRunning()) || (m_retime && m_retime->isRunning());
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
    // A disabled window loses its focus; the keyboard goes on where it was once the job is done.
    if (!enabled && isEnabled())
        m_focusBeforeJob = focusWidget();
    setEnabled(enabled);
    if (enabled && m_focusBeforeJob)
        m_focusBeforeJob->setFocus(Qt::OtherFocusReason);
}

void FormMain::letPendingEventsRun()
{
    QCoreApplication::processEvents();
}

} // namespace kovrant
