#include "core/divide.h"
#include "files/textfiles.h"
#include "ui/formmain.h"
#include "ui/windowdialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kovrant::BatchSummary)

namespace {

QString Summary(BatchSummary summary)
{
    return u"summary:%1"_s.arg(static_cast<int>(summary));
}

// Keeps the dialogs the window opens as "KIND:DATA", in order, and answers from a script.
class DialogRecorder final : public WindowDialogs {
public:
    QStringList calls;
    std::optional<QString> file; // the file-open dialog's choice; nothing for Cancel
    QString folder;
    std::function<void()> whileOpen; // runs inside the summary and the About box

    bool askOverwrite(const QString& path) override { return record(u"ask:"_s + path), false; }
    void reportFileError(const QString& path, ResultCode) override { record(u"error:"_s + path); }
    void reportFileNotice(const QString& path, FileNotice) override { record(u"notice:"_s + path); }
    bool offerRepair(const QString& path, const CrcDiagnosis&) override
    {
        return record(u"repair:"_s + path), false;
    }
    void reportCrcMismatch(const QString& path, const CrcDiagnosis&) override
    {
        record(u"mismatch:"_s + path);
    }
    void reportFolderNotFound(const QString& path) override { record(u"folder:"_s + path); }
    void reportOutputFolderMissing() override { record(u"no output folder"_s); }
    void showSummary(BatchSummary summary) override { record(Summary(summary), true); }
    std::optional<QString> openFile(const QString& filter) override
    {
        return record(u"open:"_s + filter), file;
    }
    QString pickFolder() override { return record(u"pick"_s), folder; }
    void warnEqualExtensions() override { record(u"warn"_s); }
    void showAbout() override { record(u"about"_s, true); }

private:
    void record(const QString& call, bool runWhileOpen = false)
    {
        calls << call;
        if (runWhileOpen && whileOpen)
            whileOpen();
    }
};

// How a drag ends: refused as it enters, offered the copy but not taken at the drop, copied.
enum DragEnd { Refused, NotTaken, Copied };

// Drags urls (plain text when there are none) over widget and drops them there if the drag is
// offered the copy action.
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

    QTemporaryDir m_temp; // the settings file and the folder "f" of files
    DialogRecorder m_dialogs;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<FormMain> m_form;

    void open() { m_form = std::make_unique<FormMain>(m_dialogs, *m_store, std::chrono::hours(1)); }
    QString dir(const QString& name = {}) const { return m_temp.filePath(u"f/"_s + name); }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        return m_form->findChild<T*>(name);
    }
    void click(const QString& name) const { find<QAbstractButton>(name)->click(); }
    void trigger(const QString& name) const { find<QAction>(name)->trigger(); }
    void choose(const QString& name, int i) const { find<QComboBox>(name)->setCurrentIndex(i); }
    void setText(const QString& name, const QString& text) { find<QLineEdit>(name)->setText(text); }
    // txtTTD|txtSozai|txtOut, with "%D" for the folder f.
    QString fields() const
    {
        QStringList texts;
        for (const QString& name : {u"txtTTD"_s, u"txtSozai"_s, u"txtOut"_s})
            texts << find<QLineEdit>(name)->text();
        return texts.join(u'|').replace(dir(), u"%D"_s);
    }
    // Makes files in f: "NAME" holds tagged lyrics, "NAME+" stands for NAME.TTD and NAME.TXT
    // divided from them, "NAME/" is a folder.
    void makeFiles(const QString& names)
    {
        const QString lyrics = u"[00:01:00]ra[00:02:00]n\r\n"_s;
        QString ttd, source;
        ResultCode code = ResultCode::Ok;
        QVERIFY(DivideLyrics(lyrics, ttd, source, code));
        const auto write = [](const QString& path, const QString& text) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(text.toLatin1()) == text.size();
        };
        for (const QString& name : names.split(u' ', Qt::SkipEmptyParts)) {
            const QString base = dir(name.chopped(1));
            QVERIFY(name.endsWith(u'/') ? QDir().mkpath(base)
                    : name.endsWith(u'+')
                        ? write(base + u".TTD"_s, ttd) && write(base + u".TXT"_s, source)
                        : write(dir(name), lyrics));
        }
    }
    QString listing() const
    {
        return QDir(dir()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(u' ');
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(QDir(dir()).removeRecursively() && QDir().mkpath(dir()));
        QFile::remove(m_temp.filePath(u"Kovrant.ini"_s));
        m_store = std::make_unique<SettingsStore>(m_temp.filePath(u"Kovrant.ini"_s));
        m_dialogs = DialogRecorder();
        open();
    }

    void firstStart()
    {
        m_form->show();
        QCOMPARE(m_form->storedSettings(), StoredSettings());
        QCOMPARE(m_form->windowTitle() + find<QComboBox>(u"CmbExt2"_s)->currentText(),
                 u"Kovrant.TTD"_s);
        QVERIFY(IsTopmost(m_form.get()) && find(u"Frame3"_s)->isVisible());
        QVERIFY(!find(u"txtOut"_s)->isEnabled() && !find(u"comOut"_s)->isEnabled());
        QCOMPARE(m_form->snapshot().newExtension, QString());
        // The panels end where the window's client area ends.
        QCOMPARE(find(u"Frame3"_s)->mapTo(m_form.get(), find(u"Frame3"_s)->rect().bottomRight()),
                 m_form->rect().bottomRight());
        QCOMPARE(find<QLabel>(u"lblDropDivide"_s)->text().right(3), u"Ｄ&Ｄ"_s);
        click(u"ChkSameTTD"_s);
        QVERIFY(find(u"txtOut"_s)->isEnabled() && find(u"comOut"_s)->isEnabled());
    }

    void closeSavesWhatTheNextStartShows_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::newRow("the close box") << QString();
        QTest::newRow("終了") << u"mnExit"_s;
    }
    void closeSavesWhatTheNextStartShows()
    {
        QFETCH(QString, closing);
        for (const QString& name : {u"mnOverwrite"_s, u"mnNoCRCCheck"_s, u"mnAlways"_s,
                                    u"mnTimeRatio2"_s, u"ChkSameTTD"_s, u"OptMode4"_s})
            name.startsWith(u"mn") ? trigger(name) : click(name);
        choose(u"CmbExt0"_s, 1);
        choose(u"CmbExt1"_s, 2);
        setText(u"txtOut"_s, u"/out/"_s);
        const StoredSettings before = m_form->storedSettings();
        closing.isEmpty() ? void(m_form->close()) : trigger(closing);
        open();
        QCOMPARE(m_form->storedSettings(), before);
        QCOMPARE(m_form->snapshot().timeRatio, TimeRatioChoice::Ratio0_9953125);
        QVERIFY(!IsTopmost(m_form.get()) && find(u"txtOut"_s)->isEnabled());
    }

    void modeSwitch_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("source"); // position in CmbExt1; CmbExt0 holds ".TXT"
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("mode"); // afterwards
        QTest::newRow("equal extensions keep the extension settings") << 3 << 0 << 1 << 3;
        QTest::newRow("different extensions let it go") << 3 << 1 << 1 << 1;
        QTest::newRow("choosing the extension settings again") << 3 << 0 << 3 << 3;
        QTest::newRow("other switches never warn") << 0 << 0 << 4 << 4;
    }
    void modeSwitch()
    {
        QFETCH(int, from);
        QFETCH(int, source);
        QFETCH(int, to);
        QFETCH(int, mode);
        click(u"OptMode%1"_s.arg(from));
        choose(u"CmbExt0"_s, 2);
        choose(u"CmbExt1"_s, source);
        click(u"OptMode%1"_s.arg(to));
        QCOMPARE(m_dialogs.calls, to != mode ? QStringList{u"warn"_s} : QStringList());
        QCOMPARE(m_form->currentMode(), mode);
        QVERIFY(find(u"Frame%1"_s.arg(mode))->isVisibleTo(m_form.get()));
        QVERIFY(find<QAbstractButton>(u"OptMode%1"_s.arg(mode))->isChecked());
        if (to != mode)
            QCOMPARE(m_form->focusWidget(), find(u"CmbExt0"_s));
    }

    void equalStoredExtensionsStartInTheirSettings()
    {
        QVERIFY(m_store->save(StoredSettings{.ext0 = 2, .lastMode = 0})); // .TXT and .TXT
        open();
        QCOMPARE(m_form->currentMode(), 3);
        QVERIFY(m_dialogs.calls.isEmpty());
    }

    void dragOntoPathFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("dragged"); // a name in f, "/" ending a folder; "" for text
        QTest::addColumn<QString>("fields");  // afterwards
        QTest::newRow("a TTD file in any case, with the source beside it")
            << u"txtTTD"_s << u"A.TtD"_s << u"%DA.TtD|%DA.SZI|"_s;
        QTest::newRow("another file on txtTTD") << u"txtTTD"_s << u"A.TXT"_s << u"||"_s;
        QTest::newRow("text on txtTTD") << u"txtTTD"_s << QString() << u"||"_s;
        QTest::newRow("the source extension") << u"txtSozai"_s << u"b.szi"_s << u"|%Db.szi|"_s;
        QTest::newRow("another extension on txtSozai") << u"txtSozai"_s << u"b.txt"_s << u"||"_s;
        QTest::newRow("a folder gets its separator") << u"txtOut"_s << u"out/"_s << u"||%Dout/"_s;
        QTest::newRow("a file on txtOut") << u"txtOut"_s << u"A.TTD"_s << u"||"_s;
    }
    void dragOntoPathFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, dragged);
        QFETCH(QString, fields);
        makeFiles(dragged);
        choose(u"CmbExt1"_s, 2); // .SZI
        click(u"ChkSameTTD"_s);
        QString path = dir(dragged);
        if (path.endsWith(u'/')) // as file managers give a folder
            path.chop(1);
        const QList<QUrl> urls{QUrl::fromLocalFile(path)};
        QCOMPARE(Drag(find(field), dragged.isEmpty() ? QList<QUrl>() : urls),
                 fields == u"||" ? Refused : Copied);
        QCOMPARE(this->fields(), fields);
        QCOMPARE(find<QLineEdit>(field)->cursorPosition(), find<QLineEdit>(field)->text().size());
    }

    void browseAndCombine()
    {
        makeFiles(u"song+"_s);
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
        QCOMPARE(m_dialogs.calls.join(u' ').replace(dir(), u"%D"_s),
                 u"open:*.TTD open:*.SRC pick open:*.TXT folder:%Dnone/"_s);
        QCOMPARE(listing(), u"song.LRC song.TTD song.TXT"_s);
    }

    void dropRunsBatch_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("files");   // made in f, see makeFiles
        QTest::addColumn<QString>("dropped"); // names in f, in drop order
        QTest::addColumn<BatchSummary>("summary");
        QTest::addColumn<QString>("after"); // what f holds afterwards
        QTest::newRow("batch divide takes the lyrics extension only")
            << u"lblDropDivide"_s << u"song.LRC x.TXT"_s << u"x.TXT song.LRC"_s
            << BatchSummary::AllOk << u"song.LRC song.TTD song.TXT x.TXT"_s;
        QTest::newRow("batch combine") << u"lblDropAttach"_s << u"song+"_s << u"song.TTD"_s
                                       << BatchSummary::AllOk << u"song.LRC song.TTD song.TXT"_s;
        QTest::newRow("no file of the extension")
            << u"lblDropAttach"_s << u"song.TXT"_s << u"song.TXT"_s << BatchSummary::NoFiles
            << u"song.TXT"_s;
        QTest::newRow("extension tool renames whatever is dropped")
            << u"lblDropExt"_s << u"a.txt b/"_s << u"b a.txt"_s << BatchSummary::AllOk
            << u"a.bak b.bak"_s;
        QTest::newRow("a name that is not UTF-8 is refused, its look-alike left alone")
            << u"lblDropDivide"_s << u"caf\uFFFD.LRC"_s << u"caf%E9.LRC"_s
            << BatchSummary::SomeErrors << u"caf\uFFFD.LRC"_s;
    }
    void dropRunsBatch()
    {
        QFETCH(QString, target);
        QFETCH(QString, files);
        QFETCH(QString, dropped);
        QFETCH(BatchSummary, summary);
        QFETCH(QString, after);
        makeFiles(files);
        trigger(u"mnAlways"_s); // so that the batch raises the window for its run
        // Typed, then Enter, which leaves the recent list alone.
        QTest::keyClicks(find(u"CmbNewExt"_s), u"..bak"_s);
        QTest::keyClick(find(u"CmbNewExt"_s), Qt::Key_Return);
        QList<QUrl> urls;
        for (const QString& name : dropped.split(u' ')) // "%" writes a byte of the name
            urls << (name.contains(u'%') ? QUrl(u"file://"_s + dir(name))
                                         : QUrl::fromLocalFile(dir(name)));
        QWidget* label = find(target);
        bool locked = false; // while the summary is open
        m_dialogs.whileOpen = [&] {
            locked = !m_form->isEnabled() && IsTopmost(m_form.get()) &&
                     Drag(label, urls) != Copied &&
                     (QGuiApplication::overrideCursor() != nullptr) ==
                         (summary != BatchSummary::NoFiles);
        };
        QCOMPARE(Drag(label, {QUrl(u"http://a/a.LRC"_s)}), Refused);
        QCOMPARE(Drag(label, urls), Copied);
        QCOMPARE(Drag(label, urls), NotTaken); // a batch is pending
        QVERIFY(m_dialogs.calls.isEmpty());
        m_form->batchDriver().runBatch();
        QCOMPARE(m_dialogs.calls.size(), summary == BatchSummary::SomeErrors ? 2 : 1);
        QCOMPARE(m_dialogs.calls.constLast(), Summary(summary));
        QVERIFY(locked && m_form->isEnabled() && !IsTopmost(m_form.get()));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(listing(), after);
        if (target == u"lblDropExt")
            QCOMPARE(find<QComboBox>(u"CmbNewExt"_s)->currentText() + u'|' +
                         m_form->snapshot().recentNewExtensions.join(u' '),
                     u"bak|bak TXT SRC LRC"_s);
    }

    void optionsMenu()
    {
        trigger(u"mnOverwrite"_s);
        trigger(u"mnNoCRCCheck"_s);
        QVERIFY(m_form->snapshot().overwriteWithoutAsking && m_form->snapshot().skipCrcCheck);
        for (const QString& choice : {u"mnTimeRatio1"_s, u"mnTimeRatio0"_s, u"mnTimeRatio0"_s})
            trigger(choice);
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
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
