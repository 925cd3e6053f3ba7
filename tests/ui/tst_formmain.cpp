// The main window driven by its controls' object names, its dialogs recorded: the settings from
// start to close, the mode guard, drags onto the path fields and drops onto the drop targets.
#include "jobs/jobtesting.h"
#include "ui/formmain.h"
#include "ui/windowdialogs.h"
#include "ui/windowservices.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

// Keeps the dialogs the window opens as "KIND:DATA", in order; every question is declined.
class DialogRecorder final : public WindowDialogs {
public:
    QStringList calls;
    std::optional<QString> file; // the file-open dialog's choice; nothing for Cancel
    QString folder;
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
    void showSummary(BatchSummary s) override { add(u"summary:%1"_s.arg(int(s)), true); }
    void reportRetime(const QString& p, const RetimeResult&) override { add(u"retime:"_s + p); }
    std::optional<QString> openFile(const QString& f) override { return add(u"open:"_s + f), file; }
    QString pickFolder() override { return add(u"pick"_s), folder; }
    void warnEqualExtensions() override { add(u"warn"_s); }
    void showAbout() override { add(u"about"_s, true); }

private:
    bool add(const QString& call, bool runWhileOpen = false)
    {
        calls << call;
        if (runWhileOpen && whileOpen)
            whileOpen();
        return false;
    }
};

// How a drag ends: refused as it enters, offered the copy but not taken at the drop, copied.
enum DragEnd { Refused, NotTaken, Copied };

DragEnd Drag(QWidget* widget, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setText(u"text"_s);
    data.setUrls(urls);
    QDragEnterEvent enter({4, 4}, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted() || enter.dropAction() != Qt::CopyAction)
        return Refused;
    QDropEvent drop({4, 4}, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &drop);
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
        QCOMPARE(m_form->storedSettings(), StoredSettings());
        QVERIFY(IsTopmost(m_form.get()) && find(u"Frame3"_s)->isVisible());
        QVERIFY(!find(u"txtOut"_s)->isEnabled() && !find(u"comOut"_s)->isEnabled());
        QCOMPARE(m_form->snapshot().newExtension, QString());
        // The panels end where the window's client area ends.
        QCOMPARE(find(u"Frame3"_s)->mapTo(m_form.get(), find(u"Frame3"_s)->rect().bottomRight()),
                 m_form->rect().bottomRight());
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
        click(u"ChkSameTTD"_s);
        click(u"ComAttach"_s);
        // The window stays open while a combine asks its question.
        bool closed = false;
        m_dialogs.whileOpen = [&] { closed = m_form->close(); };
        click(u"ComAttach"_s);
        QCOMPARE(m_dialogs.calls.join(u' ').replace(dir(), u"%D"_s),
                 u"open:*.TTD open:*.SRC pick open:*.TXT folder:%Dnone/ ask:%Dsong.LRC"_s);
        QVERIFY(!closed);
        QCOMPARE(listing(), u"song.LRC song.TTD song.TXT"_s);
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
        QTest::newRow("batch divide takes the lyrics extension only")
            << u"lblDropDivide"_s << u"song.LRC=lrc x.TXT=lrc caf\uFFFD.LRC=lrc"_s
            << u"x.TXT caf%E9.LRC song.LRC"_s << u"error: summary:1"_s
            << u"caf\uFFFD.LRC song.LRC song.TTD song.TXT x.TXT|..bak|TXT SRC LRC"_s;
        QTest::newRow("batch combine")
            << u"lblDropAttach"_s << u"song.TTD=ttd song.TXT=txt"_s << u"song.TTD"_s
            << u"summary:0"_s << u"song.LRC song.TTD song.TXT|..bak|TXT SRC LRC"_s;
        QTest::newRow("extension tool renames whatever is dropped")
            << u"lblDropExt"_s << u"a.txt=lrc b=/"_s << u"b a.txt"_s << u"summary:0"_s
            << u"a.bak b.bak|bak|bak TXT SRC LRC"_s;
    }
    void dropRunsBatch()
    {
        QFETCH(QString, target);
        QFETCH(QString, files);
        QFETCH(QString, dropped);
        QFETCH(QString, dialogs);
        QFETCH(QString, after);
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
        QCOMPARE(Drag(label, urls), NotTaken); // a batch is pending
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
    }

    // The About box takes the topmost band while it is open and leaves it as it found it. The band
    // changes in place: the window is neither hidden nor made anew.
    void optionsMenu()
    {
        m_form->show();
        const WId id = m_form->winId();
        trigger(u"mnOverwrite"_s);
        trigger(u"mnNoCRCCheck"_s);
        QVERIFY(m_form->snapshot().overwriteWithoutAsking && m_form->snapshot().skipCrcCheck);
        trigger(u"mnTimeRatio1"_s);
        QCOMPARE(m_form->snapshot().timeRatio, TimeRatioChoice::Ratio1);
        trigger(u"mnTimeRatio0"_s);
        trigger(u"mnTimeRatio0"_s);
        QCOMPARE(m_form->snapshot().timeRatio, TimeRatioChoice::Unchanged);
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
