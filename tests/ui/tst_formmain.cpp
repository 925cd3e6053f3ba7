// The main window driven by its controls' object names and keys, its dialogs recorded: the
// settings from start to close, the mode guard, drags onto the path fields and drops onto the drop
// targets, the keyboard's ways to the same, the status line and what assistive technology meets.
#include "jobs/jobtesting.h"
#include "jobs/messages.h"
#include "ui/droptargets.h"
#include "ui/formmain.h"
#include "ui/messagetexts.h"
#include "ui/toolwindows.h"
#include "ui/windowdialogs.h"
#include "ui/windowservices.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSpinBox>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

// Keeps the dialogs the window opens as "KIND:DATA", in order, a file dialog with "@" and the
// folder it starts in; every question is declined.
class DialogRecorder final : public WindowDialogs {
public:
    QStringList calls;
    std::optional<QString> file; // the file-open dialog's choice; nothing for Cancel
    QStringList files;           // the choice of a dialog of several files
    QString folder;
    BatchReport report;              // of the last summary
    std::function<void()> whileOpen; // runs inside a question, the summary and the About box

    bool askOverwrite(const QString& p) override { return add(u"ask:"_s + p, true); }
    void reportFileError(const QString& p, ResultCode, const FileErrorDetails&) override
    {
        add(u"error:"_s + p);
    }
    void reportFileNotice(const QString& p, FileNotice, const FileErrorDetails&) override
    {
        add(u"notice:"_s + p);
    }
    bool offerRepair(const QString&, const CrcDiagnosis&) override { return add(u"repair"_s); }
    void reportCrcMismatch(const QString& p, const CrcDiagnosis&) override { add(u"crc:"_s + p); }
    void reportFolderNotFound(const QString& p) override { add(u"folder:"_s + p); }
    void reportOutputFolderMissing() override { add(u"no output folder"_s); }
    void showSummary(BatchSummary s) override { showBatchSummary(s, {}); }
    void showBatchSummary(BatchSummary s, const BatchReport& r) override
    {
        report = r;
        add(u"summary:%1"_s.arg(int(s)), true);
    }
    void reportRetime(const QString& p, const RetimeResult&) override { add(u"retime:"_s + p); }
    std::optional<QString> openFile(const FileDialogRequest& r) override
    {
        return add(u"open:"_s + r.pattern + u'@' + r.folder), file;
    }
    QStringList openFiles(const FileDialogRequest& r) override
    {
        return add(u"open*:"_s + r.pattern + u'@' + r.folder), files;
    }
    QString pickFolder(const QString& f) override { return add(u"pick@"_s + f), folder; }
    void warnEqualExtensions() override { add(u"warn"_s); }
    void showAbout() override { add(u"about"_s, true); }
    void reportSettingsNotSaved(const QString& p) override { add(u"not saved:"_s + p); }
    void reportOwnOutput(const QString& p) override { add(u"own:"_s + p); }

private:
    bool add(const QString& call, bool runWhileOpen = false)
    {
        calls << call;
        if (runWhileOpen && whileOpen)
            whileOpen();
        return false;
    }
};

// How a drag ends: refused as it enters, offered the copy but not taken at the drop, copied; or
// with a highlight that says otherwise.
enum DragEnd { Refused, NotTaken, Copied, Misleading };

bool Highlighted(QWidget* widget)
{
    if (const auto* label = qobject_cast<DropLabel*>(widget))
        return label->isHighlighted();
    return qobject_cast<PathField*>(widget)->isHighlighted();
}

// A target is highlighted exactly while a drag it takes hovers over it.
DragEnd Drag(QWidget* widget, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setText(u"text"_s);
    data.setUrls(urls);
    QDragEnterEvent enter({4, 4}, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &enter);
    const bool offered = enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    if (Highlighted(widget) != offered)
        return Misleading;
    if (!offered)
        return Refused;
    QDropEvent drop({4, 4}, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &drop);
    if (Highlighted(widget))
        return Misleading;
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction ? Copied : NotTaken;
}

bool IsTopmost(QWidget* window)
{
    return window->windowHandle() &&
           window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

class TestFormMain : public QObject {
    Q_OBJECT

    std::optional<testing::Folder> m_files; // and the settings file

    DialogRecorder m_dialogs;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<FormMain> m_form;
    QList<QUrl> m_opened; // by the desktop's handlers

    void open() { m_form = std::make_unique<FormMain>(m_dialogs, *m_store, std::chrono::hours(1)); }
    void show() const
    {
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    QString dir(const QString& name = {}) const { return m_files->dir.path() + u'/' + name; }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        return m_form->findChild<T*>(name);
    }
    void click(const QString& name) const { find<QAbstractButton>(name)->click(); }
    void trigger(const QString& name) const { find<QAction>(name)->trigger(); }
    void choose(const QString& name, int i) const { find<QComboBox>(name)->setCurrentIndex(i); }
    // txtTTD|txtSozai|txtOut, with "%D" for the folder of files.
    QString fields() const
    {
        QStringList texts;
        for (const QString& name : {u"txtTTD"_s, u"txtSozai"_s, u"txtOut"_s})
            texts << find<QLineEdit>(name)->text();
        return texts.join(u'|').replace(dir(), u"%D"_s);
    }
    QString listing() const
    {
        return QDir(dir()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(u' ');
    }
    QString status() const { return find<QLabel>(u"lblStatus"_s)->text(); }
    // The option window that the menu entry opens.
    QDialog* tool(const QString& entry) const
    {
        trigger(entry);
        return find<QDialog>(entry == u"mnConvert" ? u"FormConvert"_s : u"FormRetime"_s);
    }
    bool shown(const QString& name) const { return find(name)->isVisibleTo(m_form.get()); }

public Q_SLOTS:
    void opened(const QUrl& url) { m_opened << url; }

private Q_SLOTS:
    void init()
    {
        m_files.emplace();
        m_store = std::make_unique<SettingsStore>(dir(u"Kovrant.ini"_s));
        m_dialogs = DialogRecorder();
        open();
    }

    void firstStart()
    {
        m_form->show();
        QCOMPARE(m_form->storedSettings(), StoredSettings{.windowPlace = m_form->pos()});
        QVERIFY(IsTopmost(m_form.get()) && find(u"Frame3"_s)->isVisible());
        QVERIFY(!find(u"txtOut"_s)->isEnabled() && !find(u"comOut"_s)->isEnabled());
        QCOMPARE(m_form->snapshot().newExtension, QString());
        // The panels end where the window's client area ends, but for the status line below.
        const QWidget* line = find(u"statusLine"_s);
        QCOMPARE(find(u"Frame3"_s)->mapTo(m_form.get(), find(u"Frame3"_s)->rect().bottomRight()),
                 QPoint(m_form->width() - 1, line->y() - 1));
        QCOMPARE(line->geometry().bottomRight(), m_form->rect().bottomRight());
        QCOMPARE(find<QLabel>(u"lblDropDivide"_s)->text().right(3), u"Ｄ&Ｄ"_s);

        // Equal stored extensions start in their settings, whatever the last mode, unwarned.
        QVERIFY(m_store->save(StoredSettings{.ext0 = 2, .lastMode = MainMode::BatchDivide}));
        open(); // .TXT and .TXT
        QCOMPARE(m_form->currentMode(), MainMode::ExtensionSettings);
        QVERIFY(m_dialogs.calls.isEmpty());
    }

    // Closed through 終了, which closes the window as its close box does.
    void closeSavesWhatTheNextStartShows()
    {
        for (const QString& name : {u"mnOverwrite"_s, u"mnNoCRCCheck"_s, u"mnAlways"_s,
                                    u"mnTimeRatio2"_s, u"ChkSameTTD"_s, u"OptMode4"_s})
            name.startsWith(u"mn") ? trigger(name) : click(name);
        choose(u"CmbExt0"_s, 1);
        choose(u"CmbExt1"_s, 2);
        find<QLineEdit>(u"txtOut"_s)->setText(u"/out/"_s);
        const StoredSettings before = m_form->storedSettings();
        trigger(u"mnExit"_s);
        open();
        QCOMPARE(m_form->storedSettings(), before);
        QCOMPARE(m_form->snapshot().timeRatio, TimeRatioChoice::Ratio0_9953125);
        QCOMPARE(m_form->currentMode(), MainMode::ExtensionTool);
        QVERIFY(!IsTopmost(m_form.get()) && find(u"txtOut"_s)->isEnabled());
    }

    void modeSwitch_data()
    {
        QTest::addColumn<MainMode>("from");
        QTest::addColumn<int>("source"); // position in CmbExt1; CmbExt0 holds ".TXT"
        QTest::addColumn<MainMode>("to");
        QTest::addColumn<MainMode>("mode"); // afterwards
        using enum MainMode;
        QTest::newRow("equal extensions keep the extension settings")
            << ExtensionSettings << 0 << Combine << ExtensionSettings;
        QTest::newRow("different extensions let it go")
            << ExtensionSettings << 1 << Combine << Combine;
        QTest::newRow("choosing the extension settings again")
            << ExtensionSettings << 0 << ExtensionSettings << ExtensionSettings;
        QTest::newRow("other switches never warn")
            << BatchDivide << 0 << ExtensionTool << ExtensionTool;
    }
    void modeSwitch()
    {
        QFETCH(MainMode, from);
        QFETCH(int, source);
        QFETCH(MainMode, to);
        QFETCH(MainMode, mode);
        click(u"OptMode%1"_s.arg(ModeIndex(from)));
        choose(u"CmbExt0"_s, 2);
        choose(u"CmbExt1"_s, source);
        click(u"OptMode%1"_s.arg(ModeIndex(to)));
        QCOMPARE(m_dialogs.calls, to != mode ? QStringList{u"warn"_s} : QStringList());
        QCOMPARE(m_form->currentMode(), mode);
        QVERIFY(find(u"Frame%1"_s.arg(ModeIndex(mode)))->isVisibleTo(m_form.get()));
        QVERIFY(find<QAbstractButton>(u"OptMode%1"_s.arg(ModeIndex(mode)))->isChecked());
        if (to != mode)
            QCOMPARE(m_form->focusWidget(), find(u"CmbExt0"_s));
    }

    void dragOntoPathFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("dragged"); // NAME=CONTENT as testing::Folder makes it; "": text
        QTest::addColumn<QString>("fields");  // afterwards; "||" when the drag is refused
        QTest::newRow("a TTD file in any case, with the source beside it")
            << u"txtTTD"_s << u"A.TtD=ttd"_s << u"%DA.TtD|%DA.SZI|"_s;
        QTest::newRow("another file on txtTTD") << u"txtTTD"_s << u"A.TXT=txt"_s << u"||"_s;
        QTest::newRow("text alone on txtTTD") << u"txtTTD"_s << QString() << u"||"_s;
        QTest::newRow("the source extension") << u"txtSozai"_s << u"b.szi=txt"_s << u"|%Db.szi|"_s;
        QTest::newRow("another extension on txtSozai")
            << u"txtSozai"_s << u"b.txt=txt"_s << u"||"_s;
        QTest::newRow("a folder gets its separator") << u"txtOut"_s << u"out=/"_s << u"||%Dout/"_s;
        QTest::newRow("a file on txtOut") << u"txtOut"_s << u"A.TTD=ttd"_s << u"||"_s;
    }
    void dragOntoPathFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, dragged);
        QFETCH(QString, fields);
        QVERIFY(m_files->fill(dragged));
        choose(u"CmbExt1"_s, 2); // .SZI
        click(u"ChkSameTTD"_s);
        QList<QUrl> urls{QUrl::fromLocalFile(dir(dragged.section(u'=', 0, 0)))};
        QCOMPARE(Drag(find(field), dragged.isEmpty() ? QList<QUrl>() : urls),
                 fields == u"||" ? Refused : Copied);
        QCOMPARE(this->fields(), fields);
    }

    void browseAndCombine()
    {
        QVERIFY(m_files->fill(u"song.TTD=ttd song.TXT=txt"_s));
        choose(u"CmbExt1"_s, 1); // .SRC
        click(u"ChkSameTTD"_s);
        m_dialogs.file = dir(u"song.TTD"_s);
        click(u"ComTTD"_s);
        m_dialogs.file.reset();
        click(u"comSozai"_s);
        m_dialogs.folder = dir(u"none"_s);
        click(u"comOut"_s);
        QCOMPARE(fields(), u"%Dsong.TTD|%Dsong.SRC|%Dnone/"_s);
        choose(u"CmbExt1"_s, 0);
        m_dialogs.file = dir(u"song.TXT"_s);
        click(u"comSozai"_s);
        click(u"ComAttach"_s);
        QCOMPARE(status(), CombineStatus({}));
        click(u"ChkSameTTD"_s);
        QTest::keyClick(find(u"txtSozai"_s), Qt::Key_Return);
        BatchReport wrote;
        wrote.written = {{dir(u"song.LRC"_s), TextEncoding::Cp932}};
        QCOMPARE(status(), CombineStatus(wrote));
        // The window stays open while a combine asks its question.
        bool closed = false;
        m_dialogs.whileOpen = [&] { closed = m_form->close(); };
        click(u"ComAttach"_s);
        QVERIFY(!closed);
        // A dialog starts in the folder of its field's path, else in the one used last.
        QCOMPARE(m_dialogs.calls.join(u' ')
                     .replace(m_files->dir.path(), u"%D"_s)
                     .replace(QDir::homePath(), u"~"_s),
                 u"open:*.TTD@~ open:*.SRC@%D pick@%D open:*.TXT@%D folder:%D/none/ "
                 u"ask:%D/song.LRC"_s);
        QCOMPARE(listing(), u"song.LRC song.TTD song.TXT"_s);
        QCOMPARE(m_form->storedSettings().lastFolder, m_files->dir.path());
    }

    // One drop per target. The name that is not UTF-8 is refused with its error, and its
    // look-alike, which a decoded name would find, is left alone. Enter in the extension tool
    // leaves its recent list alone; a rename that went through puts the new extension first.
    void dropRunsBatch_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("files");   // made as testing::Folder makes them
        QTest::addColumn<QString>("dropped"); // names in drop order; "%" writes a byte
        QTest::addColumn<QString>("dialogs"); // their kinds, in order
        QTest::addColumn<QString>("after");   // the files, the extension tool's text and list
        QTest::addColumn<QString>("report");  // files/errors/outputs written/files failed
        QTest::newRow("batch divide takes the lyrics extension only")
            << u"lblDropDivide"_s << u"song.LRC=lrc x.TXT=lrc caf\uFFFD.LRC=lrc"_s
            << u"x.TXT caf%E9.LRC song.LRC"_s << u"error: summary:1"_s
            << u"caf\uFFFD.LRC song.LRC song.TTD song.TXT x.TXT|..bak|TXT SRC LRC"_s
            << u"2/1/2/1"_s;
        QTest::newRow("batch combine")
            << u"lblDropAttach"_s << u"song.TTD=ttd song.TXT=txt"_s << u"song.TTD"_s
            << u"summary:0"_s << u"song.LRC song.TTD song.TXT|..bak|TXT SRC LRC"_s << u"1/0/1/0"_s;
        QTest::newRow("a kept output is no error, but the file did not go through")
            << u"lblDropAttach"_s << u"song.TTD=ttd song.TXT=txt song.LRC=old"_s << u"song.TTD"_s
            << u"ask: summary:1"_s << u"song.LRC song.TTD song.TXT|..bak|TXT SRC LRC"_s
            << u"1/0/0/1"_s;
        QTest::newRow("extension tool renames whatever is dropped")
            << u"lblDropExt"_s << u"a.txt=lrc b=/"_s << u"b a.txt"_s << u"summary:0"_s
            << u"a.bak b.bak|bak|bak TXT SRC LRC"_s << u"2/0/0/0"_s;
    }
    void dropRunsBatch()
    {
        QFETCH(QString, target);
        QFETCH(QString, files);
        QFETCH(QString, dropped);
        QFETCH(QString, dialogs);
        QFETCH(QString, after);
        QFETCH(QString, report);
        QVERIFY(m_files->fill(files));
        trigger(u"mnAlways"_s); // so that the batch raises the window for its run
        QTest::keyClicks(find(u"CmbNewExt"_s), u"..bak"_s);
        QTest::keyClick(find(u"CmbNewExt"_s), Qt::Key_Return);
        QList<QUrl> urls;
        for (const QString& name : dropped.split(u' '))
            urls << QUrl(u"file://"_s + dir(name));
        QWidget* label = find(target);
        bool locked = false; // while the summary is open
        m_dialogs.whileOpen = [&] {
            locked = !m_form->isEnabled() && IsTopmost(m_form.get()) &&
                     QGuiApplication::overrideCursor() && !m_form->close();
        };
        QCOMPARE(Drag(label, {QUrl(u"http://a/a.LRC"_s)}), Refused);
        QCOMPARE(Drag(label, urls), Copied);
        QCOMPARE(Drag(label, urls), Refused); // a batch is pending
        m_form->batchDriver().runBatch();
        QStringList kinds;
        for (const QString& call : m_dialogs.calls)
            kinds << call.section(u'/', 0, 0);
        QCOMPARE(kinds.join(u' '), dialogs);
        QVERIFY(locked && m_form->isEnabled() && !IsTopmost(m_form.get()));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(listing() + u'|' + find<QComboBox>(u"CmbNewExt"_s)->currentText() + u'|' +
                     m_form->snapshot().recentNewExtensions.join(u' '),
                 after);
        const BatchReport& told = m_dialogs.report;
        QCOMPARE(u"%1/%2/%3/%4"_s.arg(told.files)
                     .arg(told.errors)
                     .arg(told.written.size())
                     .arg(told.failures.size()),
                 report);
        QCOMPARE(status(), BatchStatus(m_dialogs.report));
    }

    // The About box takes the topmost band while it is open and leaves it as it found it. The band
    // changes in place: the window is neither hidden nor made anew.
    void optionsMenu()
    {
        m_form->show();
        const WId id = m_form->winId();
        const QSize size = m_form->size();
        const QStringList marks{u"lblNoCRCCheck"_s, u"lblOverwrite"_s, u"lblTimeRatio"_s};
        QVERIFY(!shown(marks[0]) && !shown(marks[1]) && !shown(marks[2]));
        trigger(u"mnOverwrite"_s);
        trigger(u"mnNoCRCCheck"_s);
        QVERIFY(m_form->snapshot().overwriteWithoutAsking && m_form->snapshot().skipCrcCheck);
        // The options that change results are on the status line while they are on; the window
        // keeps its size.
        trigger(u"mnTimeRatio2"_s);
        QVERIFY(shown(marks[0]) && shown(marks[1]) && shown(marks[2]));
        QCOMPARE(find<QLabel>(marks[2])->text(), u"@TimeRatio=0.9953125"_s);
        QCOMPARE(m_form->size(), size);
        trigger(u"mnTimeRatio1"_s);
        QCOMPARE(m_form->snapshot().timeRatio, TimeRatioChoice::Ratio1);
        trigger(u"mnTimeRatio0"_s);
        trigger(u"mnTimeRatio0"_s);
        QCOMPARE(m_form->snapshot().timeRatio, TimeRatioChoice::Unchanged);
        QVERIFY(!shown(marks[2]));
        trigger(u"mnOverwrite"_s);
        QVERIFY(shown(marks[0]) && !shown(marks[1]));
        QVERIFY(!find<QAction>(u"mnTimeRatio1"_s)->isChecked());
        bool topmostWithAbout = true;
        m_dialogs.whileOpen = [&] { topmostWithAbout = IsTopmost(m_form.get()); };
        trigger(u"mnAbout"_s);
        QVERIFY(!topmostWithAbout && IsTopmost(m_form.get()));
        trigger(u"mnAlways"_s);
        QVERIFY(!IsTopmost(m_form.get()));
        trigger(u"mnAbout"_s);
        QVERIFY(!IsTopmost(m_form.get()));
        QCOMPARE(m_dialogs.calls, QStringList({u"about"_s, u"about"_s}));
        QVERIFY(m_form->isVisible() && m_form->winId() == id);
    }

    // Opened by a click, the options menu stays at the pointer, wherever that is; opened from
    // the keyboard, it drops from the button.
    void optionMenuPlace()
    {
        show();
        auto* option = find<QAbstractButton>(u"ComOption"_s);
        auto* menu = find<QMenu>(u"z_mnPopup"_s);
        QCursor::setPos(40, 300);
        QTest::mouseClick(option, Qt::LeftButton);
        QTRY_COMPARE(menu->pos(), QPoint(40, 300));
        menu->hide();
        QTest::keyClick(option, Qt::Key_Space);
        QTRY_COMPARE(menu->pos(), option->mapToGlobal(QPoint(0, option->height())));
        menu->hide();
    }

    // Enter, Space, a click or Ctrl+V on a drop target feed its batch as a drop does: the dialog,
    // which starts in the folder used last, lists what a drop would take, and the drop's filter
    // applies to what comes back.
    void targetsTakeFilesWithoutDragging_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("key");        // 0: a click; Ctrl+V takes the clipboard
        QTest::addColumn<QString>("chosen"); // in the dialog, or on the clipboard
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("queue"); // of the batch that waits
        QTest::newRow("Enter on batch divide asks for lyrics files")
            << u"lblDropDivide"_s << int(Qt::Key_Return) << u"a.LRC b.TXT"_s << u"open*:*.LRC@%D"_s
            << u"a.LRC"_s;
        QTest::newRow("Space on batch combine asks for TTD files")
            << u"lblDropAttach"_s << int(Qt::Key_Space) << u"s.TTD"_s << u"open*:*.TTD@%D"_s
            << u"s.TTD"_s;
        QTest::newRow("a click on the extension tool, for any file")
            << u"lblDropExt"_s << 0 << u"a.LRC b.TXT"_s << u"open*:@%D"_s << u"a.LRC b.TXT"_s;
        QTest::newRow("Ctrl+V takes the clipboard's files")
            << u"lblDropDivide"_s << int(Qt::Key_V) << u"b.TXT a.LRC"_s << QString() << u"a.LRC"_s;
        QTest::newRow("a cancelled dialog takes nothing")
            << u"lblDropAttach"_s << int(Qt::Key_Return) << QString() << u"open*:*.TTD@%D"_s
            << QString();
    }
    void targetsTakeFilesWithoutDragging()
    {
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(QString, chosen);
        QFETCH(QString, dialog);
        QFETCH(QString, queue);
        QVERIFY(m_store->save(StoredSettings{.lastFolder = m_files->dir.path()}));
        open();
        QWidget* label = find(target);
        QVERIFY(label->focusPolicy() & Qt::TabFocus);
        m_dialogs.files = m_files->paths(chosen);
        auto* clipboard = new QMimeData;
        for (const QString& path : m_dialogs.files)
            clipboard->setUrls(clipboard->urls() << QUrl::fromLocalFile(path));
        QApplication::clipboard()->setMimeData(clipboard);
        if (key == 0)
            QTest::mouseClick(label, Qt::LeftButton);
        else
            QTest::keyClick(label, Qt::Key(key),
                            key == Qt::Key_V ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(m_dialogs.calls.join(u' ').replace(m_files->dir.path(), u"%D"_s), dialog);
        QCOMPARE(m_form->batchDriver().isPending(), !queue.isEmpty());
        QCOMPARE(m_form->batchDriver().batchQueue(), m_files->paths(queue));
    }

    // Ctrl+1 to Ctrl+5 choose the modes, the guard holding as for a click, and the keyboard goes
    // on in the panel chosen; Enter in a field of the single combine runs 結合, and the focus is
    // back in the field afterwards; F1 opens the help.
    void keys()
    {
        QDesktopServices::setUrlHandler(u"file"_s, this, "opened");
        show();
        const auto press = [this](int key) {
            QTest::keyClick(m_form.get(), Qt::Key(key), Qt::ControlModifier);
        };
        press(Qt::Key_1);
        QCOMPARE(QApplication::focusWidget(), find(u"lblDropDivide"_s));
        press(Qt::Key_2);
        QCOMPARE(QApplication::focusWidget(), find(u"txtTTD"_s));
        QVERIFY(m_files->fill(u"song.TTD=ttd song.TXT=txt"_s));
        find<QLineEdit>(u"txtTTD"_s)->setText(dir(u"song.TTD"_s));
        find<QLineEdit>(u"txtSozai"_s)->setText(dir(u"song.TXT"_s));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(QFile::exists(dir(u"song.LRC"_s)));
        // The window was disabled while it combined; the keyboard is back where it was.
        QCOMPARE(QApplication::focusWidget(), find(u"txtTTD"_s));
        press(Qt::Key_4);
        choose(u"CmbExt0"_s, 2); // .TXT, as the source lyrics
        press(Qt::Key_5);
        QCOMPARE(m_form->currentMode(), MainMode::ExtensionSettings);
        QCOMPARE(QApplication::focusWidget(), find(u"CmbExt0"_s));
        QSignalSpy help(find<QAction>(u"mnHelp"_s), &QAction::triggered);
        QTest::keyClick(m_form.get(), Qt::Key_F1);
        QCOMPARE(help.count(), 1);
        QDesktopServices::unsetUrlHandler(u"file"_s);
    }

    // A later start's files are taken as a drop on the current mode's target, and refused as a
    // drop would be, also while a batch waits; the window comes to the front.
    void takesFilesOfALaterStart_data()
    {
        QTest::addColumn<MainMode>("mode");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("taken"); // the batch's queue or the fields; "" when refused
        using enum MainMode;
        QTest::newRow("batch divide") << BatchDivide << u"a.LRC s.TTD"_s << u"%Da.LRC"_s;
        QTest::newRow("the single combine's TTD field")
            << Combine << u"s.TTD a.LRC"_s << u"%Ds.TTD|%Ds.TXT|"_s;
        QTest::newRow("the TTD field refuses another first file")
            << Combine << u"a.LRC s.TTD"_s << QString();
        QTest::newRow("the extension settings take nothing")
            << ExtensionSettings << u"a.LRC"_s << QString();
    }
    void takesFilesOfALaterStart()
    {
        QFETCH(MainMode, mode);
        QFETCH(QString, files);
        QFETCH(QString, taken);
        show();
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(other.isActiveWindow());
        click(u"OptMode%1"_s.arg(ModeIndex(mode)));
        m_form->bringToFront();
        QTRY_VERIFY(m_form->isActiveWindow());
        QCOMPARE(m_form->takeFiles(m_files->paths(files)), !taken.isEmpty());
        QString got = mode == MainMode::Combine ? fields().remove(u"||"_s)
                                                : m_form->batchDriver().batchQueue().join(u' ');
        QCOMPARE(got.replace(dir(), u"%D"_s), taken);
        QCOMPARE(status(), taken.isEmpty() ? FilesNotTakenStatus() : QString());
        QCOMPARE(m_form->takeFiles(m_files->paths(files)),
                 mode == MainMode::Combine && !taken.isEmpty());
    }

    // The menu's entries open their windows over the main window, which waits meanwhile; the
    // windows show the single combine's output folder rule and change it. Every control is
    // reached by Tab and named; the drop target takes files from a dialog, the fields from their
    // browse buttons, and 実行 waits for both files.
    void toolWindowsOpenFromTheMenu()
    {
        show();
        QVERIFY(m_files->fill(u"picked=/"_s));
        click(u"ChkSameTTD"_s);
        find<QLineEdit>(u"txtOut"_s)->setText(u"/out/"_s);
        for (const QString& entry : {u"mnConvert"_s, u"mnRetime"_s}) {
            QDialog* window = tool(entry);
            QVERIFY(window->isVisible() && window->windowModality() == Qt::WindowModal);
            QTRY_COMPARE(QApplication::activeModalWidget(), window);
            QVERIFY(!m_form->takeFiles({dir(u"a.LRC"_s)}));
            for (const QWidget* control : window->findChildren<QWidget*>()) {
                if (control->isEnabled() && (control->focusPolicy() & Qt::TabFocus) &&
                    !control->objectName().startsWith(u"qt_"))
                    QVERIFY2(!control->accessibleName().isEmpty(),
                             qPrintable(control->objectName()));
            }
            const QString prefix = entry.mid(2);
            auto* folder = window->findChild<QLineEdit*>(u"txt%1Out"_s.arg(prefix));
            auto* beside = window->findChild<QCheckBox*>(u"chk%1Beside"_s.arg(prefix));
            QVERIFY(folder->isEnabled() && !beside->isChecked());
            QCOMPARE(folder->text(), find<QLineEdit>(u"txtOut"_s)->text());
            QCOMPARE(Drag(folder, {QUrl::fromLocalFile(dir(u"picked"_s))}), Copied);
            QCOMPARE(Drag(folder, {QUrl::fromLocalFile(dir(u"a.LRC"_s))}), Refused);
            m_dialogs.folder = dir(u"picked"_s);
            window->findChild<QAbstractButton*>(u"com%1Out"_s.arg(prefix))->click();
            QCOMPARE(m_form->snapshot().outputFolder, dir(u"picked/"_s));
            beside->click();
            QVERIFY(m_form->snapshot().outputBesideTtd && !folder->isEnabled());
            beside->click();
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
        }
        QDialog* convert = tool(u"mnConvert"_s);
        QCOMPARE(convert->findChild<QLineEdit*>(u"txtConvertOut"_s)->text(), dir(u"picked/"_s));
        m_dialogs.files = m_files->paths(u"a.LRC b.ass"_s);
        QTest::keyClick(find(u"lblDropConvert"_s), Qt::Key_Return);
        auto* converting = static_cast<FormConvert*>(convert);
        QVERIFY(converting->isPending());
        QCOMPARE(converting->queue(), m_dialogs.files);
        QCOMPARE(Drag(find(u"lblDropConvert"_s), {QUrl::fromLocalFile(dir(u"a.LRC"_s))}), Refused);
        convert->close();

        QDialog* retime = tool(u"mnRetime"_s);
        auto* run = find<QAbstractButton>(u"comRun"_s);
        QVERIFY(!run->isEnabled());
        m_dialogs.file = dir(u"old.LRC"_s);
        click(u"comOld"_s);
        QVERIFY(!run->isEnabled());
        m_dialogs.file = dir(u"new.TXT"_s);
        click(u"comNew"_s);
        QVERIFY(run->isEnabled());
        QCOMPARE(find<QLineEdit>(u"txtOld"_s)->text() + u'|' + find<QLineEdit>(u"txtNew"_s)->text(),
                 dir(u"old.LRC"_s) + u'|' + dir(u"new.TXT"_s));
        QCOMPARE(m_dialogs.calls.filter(u"open"_s).join(u' ').replace(m_files->dir.path(), u"%D"_s),
                 u"open*:@%D/picked open:@%D open:@%D"_s);
        retime->close();
    }

    // A conversion writes each format with its extension, shifted as asked.
    void convertWritesTheFormatChosen_data()
    {
        QTest::addColumn<int>("format"); // position in the list
        QTest::addColumn<int>("shift");
        QTest::addColumn<QString>("input"); // NAME=CONTENT
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("holds");
        QTest::newRow("LRC") << 0 << 0 << u"in.KRA=lrc"_s << u"in.lrc"_s
                             << u"[00:01.00]あいうえ\r\n"_s;
        QTest::newRow("enhanced LRC, a second later")
            << 1 << 1000 << u"in.KRA=lrc"_s << u"in.lrc"_s << u"<00:02.00>あいう<00:03.50>え"_s;
        QTest::newRow("ASS") << 2 << 0 << u"in.KRA=lrc"_s << u"in.ass"_s << u"{\\kf150}あいう"_s;
        QTest::newRow("WebVTT, earlier")
            << 3 << -500 << u"in.KRA=lrc"_s << u"in.vtt"_s << u"00:00:00.500 --> 00:00:02.500"_s;
        QTest::newRow("an LRC file to time-tagged lyrics")
            << 4 << 0 << u"in.txt=[00:01.50]a"_s << u"in.LRC"_s << u"[00:01:50]a"_s;
    }
    void convertWritesTheFormatChosen()
    {
        QFETCH(int, format);
        QFETCH(int, shift);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QString, holds);
        QVERIFY(m_files->fill(input));
        auto* convert = static_cast<FormConvert*>(tool(u"mnConvert"_s));
        choose(u"cmbFormat"_s, format);
        find<QSpinBox>(u"spnShift"_s)->setValue(shift);
        QCOMPARE(
            Drag(find(u"lblDropConvert"_s), {QUrl::fromLocalFile(dir(input.section(u'=', 0, 0)))}),
            Copied);
        convert->runConversion();
        QCOMPARE(m_dialogs.calls, QStringList{u"summary:0"_s});
        QVERIFY(convert->queue().isEmpty());
        QFile written(dir(output));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(written.readAll()).contains(holds), qPrintable(holds));
        QCOMPARE(status(), BatchStatus(m_dialogs.report));
    }

    // Both windows write by the single combine's rule, refuse an output that would replace one of
    // the run's inputs, and lock the main window and themselves while they run, also when a file
    // fails; the retime's report comes before anything is written.
    void toolWindowsWriteByTheOutputFolderRule_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("inputs"); // dropped, or OLD and NEW
        QTest::addColumn<QString>("folder"); // "": beside the input
        QTest::addColumn<QString>("dialogs");
        QTest::addColumn<QString>("after");
        const QString lyrics = u"old.KRA=lrc new.TXT=txt"_s;
        QTest::newRow("convert beside the input")
            << u"mnConvert"_s << lyrics << u"old.KRA"_s << QString() << u"summary:0"_s
            << u"new.TXT old.KRA old.lrc"_s;
        QTest::newRow("convert into the folder given")
            << u"mnConvert"_s << lyrics + u" out=/"_s << u"old.KRA new.TXT"_s << u"%D/out/"_s
            << u"error:%Dnew.TXT summary:1"_s << u"new.TXT old.KRA out out/old.lrc"_s;
        QTest::newRow("convert asks before it replaces")
            << u"mnConvert"_s << lyrics + u" old.lrc=x"_s << u"old.KRA"_s << QString()
            << u"ask:%Dold.lrc summary:1"_s << u"new.TXT old.KRA old.lrc"_s;
        QTest::newRow("convert without the folder asked for")
            << u"mnConvert"_s << lyrics << u"old.KRA"_s << u"-"_s << u"no output folder"_s
            << u"new.TXT old.KRA"_s;
        QTest::newRow("convert into a folder that is not there")
            << u"mnConvert"_s << lyrics << u"old.KRA"_s << u"%D/none/"_s << u"folder:%Dnone/"_s
            << u"new.TXT old.KRA"_s;
        QTest::newRow("convert onto its own input")
            << u"mnConvert"_s << u"a.lrc=[00:01.00]a"_s << u"a.lrc"_s << QString()
            << u"own:%Da.lrc"_s << u"a.lrc"_s;
        QTest::newRow("retime beside the new lyrics")
            << u"mnRetime"_s << lyrics << u"old.KRA new.TXT"_s << QString() << u"retime:%Dnew.TXT"_s
            << u"new.LRC new.TXT old.KRA"_s;
        QTest::newRow("retime into the folder given")
            << u"mnRetime"_s << lyrics + u" out=/"_s << u"old.KRA new.TXT"_s << u"%D/out/"_s
            << u"retime:%Dnew.TXT"_s << u"new.TXT old.KRA out out/new.LRC"_s;
        QTest::newRow("retime asks before it replaces")
            << u"mnRetime"_s << lyrics + u" new.LRC=x"_s << u"old.KRA new.TXT"_s << QString()
            << u"retime:%Dnew.TXT ask:%Dnew.LRC"_s << u"new.LRC new.TXT old.KRA"_s;
        QTest::newRow("retime of a file that is not lyrics")
            << u"mnRetime"_s << u"old.KRA=untagged new.TXT=txt"_s << u"old.KRA new.TXT"_s
            << QString() << u"error:%Dold.KRA"_s << u"new.TXT old.KRA"_s;
        QTest::newRow("retime onto the old lyrics")
            << u"mnRetime"_s << u"new.LRC=lrc new.TXT=txt"_s << u"new.LRC new.TXT"_s << QString()
            << u"own:%Dnew.LRC"_s << u"new.LRC new.TXT"_s;
    }
    void toolWindowsWriteByTheOutputFolderRule()
    {
        QFETCH(QString, entry);
        QFETCH(QString, files);
        QFETCH(QString, inputs);
        QFETCH(QString, folder);
        QFETCH(QString, dialogs);
        QFETCH(QString, after);
        QVERIFY(m_files->fill(files));
        QDialog* window = tool(entry);
        const QString prefix = entry.mid(2);
        if (!folder.isEmpty()) {
            window->findChild<QCheckBox*>(u"chk%1Beside"_s.arg(prefix))->click();
            window->findChild<QLineEdit*>(u"txt%1Out"_s.arg(prefix))
                ->setText(folder == u"-" ? QString() : m_files->expand(folder));
        }
        bool locked = false; // while a question or the summary is open
        m_dialogs.whileOpen = [&] {
            locked = !m_form->isEnabled() && !window->isEnabled() &&
                     QGuiApplication::overrideCursor() && !window->close() && !m_form->close();
        };
        const QStringList paths = m_files->paths(inputs);
        if (entry == u"mnConvert") {
            QList<QUrl> urls;
            for (const QString& path : paths)
                urls << QUrl::fromLocalFile(path);
            QCOMPARE(Drag(find(u"lblDropConvert"_s), urls), Copied);
            static_cast<FormConvert*>(window)->runConversion();
        } else {
            QCOMPARE(Drag(find(u"txtOld"_s), {QUrl::fromLocalFile(paths[0])}), Copied);
            QCOMPARE(Drag(find(u"txtNew"_s), {QUrl::fromLocalFile(paths[1])}), Copied);
            find(u"txtNew"_s)->setFocus();
            QTest::keyClick(find(u"txtNew"_s), Qt::Key_Return);
            // The keyboard is back where it was.
            QCOMPARE(window->focusWidget(), find(u"txtNew"_s));
        }
        QVERIFY(!status().isEmpty());
        QCOMPARE(m_dialogs.calls.join(u' ').replace(dir(), u"%D"_s), dialogs);
        QCOMPARE(locked, dialogs.contains(u"ask") || dialogs.contains(u"summary"));
        QVERIFY(m_form->isEnabled() && window->isEnabled() && window->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        QStringList listing;
        QDirIterator it(dir(), QDir::NoDotAndDotDot | QDir::AllEntries,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            listing << it.next().remove(dir());
        listing.removeOne(u"Kovrant.ini"_s);
        listing.sort();
        QCOMPARE(listing.join(u' '), after);
    }

    // The window reopens where it closed, unless its title bar would be out of reach.
    void windowPlace_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<bool>("restored");
        QTest::newRow("its title bar still to be grabbed on the left") << QPoint(-300, 90) << true;
        QTest::newRow("beyond the screen's right edge") << QPoint(5000, 90) << false;
        QTest::newRow("its title bar above the screen") << QPoint(120, -20) << false;
    }
    void windowPlace()
    {
        QFETCH(QPoint, stored);
        QFETCH(bool, restored);
        QVERIFY(m_store->save(StoredSettings{.windowPlace = stored}));
        open();
        QCOMPARE(m_form->pos() == stored, restored);
        show();
        m_form->move(30, 40);
        QVERIFY(m_form->close());
        QCOMPARE(m_store->load().windowPlace, QPoint(30, 40));
    }

    void closeSaysWhenSettingsCannotBeSaved()
    {
        QVERIFY(m_files->fill(u"file=x"_s));
        const SettingsStore store(dir(u"file/Kovrant.ini"_s));
        QVERIFY(FormMain(m_dialogs, store).close());
        QCOMPARE(m_dialogs.calls, QStringList{u"not saved:"_s + store.path()});
    }

    // Each browse button is named for what it picks; the mode buttons are one group of radio
    // buttons, one of them checked; the mode 結合 and the button 結合 are told apart.
    void whatAssistiveTechnologyMeets()
    {
        const auto about = [this](const QString& name) {
            return QAccessible::queryAccessibleInterface(find(name));
        };
        QSet<QString> picks;
        for (const QString& name : {u"ComTTD"_s, u"comSozai"_s, u"comOut"_s, u"OptMode0"_s})
            picks << about(name)->text(QAccessible::Name);
        QCOMPARE(picks.size(), 4);
        QAccessibleInterface* group = about(u"OptMode0"_s)->parent();
        QCOMPARE(group->role(), QAccessible::Grouping);
        QStringList radios;
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->role() == QAccessible::RadioButton)
                radios << (group->child(i)->state().checked ? u"on"_s : u"off"_s);
        }
        QCOMPARE(radios.join(u' '), u"off off off on off"_s);
        QCOMPARE_NE(about(u"OptMode1"_s)->text(QAccessible::Description),
                    about(u"ComAttach"_s)->text(QAccessible::Description));
    }

    // The desktop's boxes: a batch's summary lists the files that failed in its details, and no
    // text carries the carriage return of the messages' line break.
    void desktopBoxes()
    {
        DesktopDialogs desktop;
        QStringList seen;
        const auto read = [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            seen << QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name)
                 << box->detailedText();
            box->accept();
        };
        BatchReport report;
        report.files = 2;
        report.failures = {{u"/k/b.LRC"_s, {}}};
        QTimer::singleShot(0, read);
        desktop.reportFileError(u"/k/a.TTD"_s, ResultCode::CrcMismatch, {});
        QTimer::singleShot(0, read);
        desktop.showBatchSummary(BatchSummary::SomeErrors, report);
        QStringList told{FileErrorMessage(u"/k/a.TTD"_s, ResultCode::CrcMismatch), QString(),
                         SummaryText(BatchSummary::SomeErrors), SummaryDetails(report)};
        QCOMPARE(seen, told.replaceInStrings(u"\r\n"_s, u"\n"_s));
    }

    // Web addresses are told apart by "http" alone, case-sensitively; anything else must be an
    // existing file.
    void opensDocuments()
    {
        QVERIFY(QDir::setCurrent(dir()) && QFile(u"HTTP notes"_s).open(QIODevice::WriteOnly));
        for (const QString& scheme : {u"file"_s, u"http"_s})
            QDesktopServices::setUrlHandler(scheme, this, "opened");
        for (const QString& target : {u"http://example.org/k"_s, u"HTTP://example.org/"_s,
                                      u"HTTP notes"_s, u"."_s, QString()})
            OpenDocument(target);
        QCOMPARE(m_opened, (QList<QUrl>{QUrl(u"http://example.org/k"_s),
                                        QUrl::fromLocalFile(dir(u"HTTP notes"_s))}));
        for (const QString& scheme : {u"file"_s, u"http"_s})
            QDesktopServices::unsetUrlHandler(scheme);
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
