#include "ui/toolwindowsui.h"

#include "core/timetag.h"
#include "ui/droptargets.h"
#include "ui/formmainui.h"
#include "ui/messagetexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <array>

namespace kovrant {

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

struct FormatItem {
    LyricsFormat format;
    const char* caption;
};

// In the order of the list; the first is what a new window offers.
constexpr std::array<FormatItem, 5> FormatItems{{
    {LyricsFormat::Lrc, QT_TRANSLATE_NOOP("FormConvert", "LRC")},
    {LyricsFormat::EnhancedLrc, QT_TRANSLATE_NOOP("FormConvert", "拡張LRC（単語ごとの時刻）")},
    {LyricsFormat::Ass, QT_TRANSLATE_NOOP("FormConvert", "ASS字幕（カラオケ）")},
    {LyricsFormat::WebVtt, QT_TRANSLATE_NOOP("FormConvert", "WebVTT")},
    {LyricsFormat::Tags, QT_TRANSLATE_NOOP("FormConvert", "タイムタグ付き歌詞")},
}};

QPushButton* CloseButton(const char* objectName)
{
    const QString close = Tr("ToolWindow", QT_TRANSLATE_NOOP("ToolWindow", "閉じる"));
    auto* button = Named(new QPushButton(close), objectName, close);
    // Enter in a field never closes the window.
    button->setAutoDefault(false);
    return button;
}

void SetUpWindow(QDialog* window, const char* objectName, const QString& title)
{
    window->setObjectName(QLatin1StringView(objectName));
    window->setWindowTitle(title + u" - "_s + ApplicationTitle());
    window->setAccessibleName(title);
}

} // namespace

void OutputFolderRow::setupUi(const char* prefix, const QString& besideCaption, QGridLayout* layout,
                              int row)
{
    const auto name = [prefix](const char* kind, const char* what) {
        return QByteArray(kind) + prefix + what;
    };
    folder = new PathField;
    folder->setMinimumWidth(folder->fontMetrics().averageCharWidth() * PathFieldChars);
    const QString folderCaption = Tr("FormMain", QT_TRANSLATE_NOOP("FormMain", "出力フォルダ："));
    caption = Caption(name("lbl", "Out").constData(), folderCaption, folder);
    Named(folder, name("txt", "Out").constData(), folderCaption);
    browse = BrowseButton(name("com", "Out").constData(),
                          Tr("FormMain", QT_TRANSLATE_NOOP("FormMain", "出力フォルダを選ぶ")));
    beside = Named(new QCheckBox(besideCaption), name("chk", "Beside").constData(), besideCaption);

    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(caption);
    captionRow->addWidget(beside);
    captionRow->addStretch();
    layout->addLayout(captionRow, row, 0, 1, 2);
    layout->addWidget(folder, row + 1, 0);
    layout->addWidget(browse, row + 1, 1);
}

void ConvertWindowUi::setupUi(QDialog* window)
{
    SetUpWindow(window, "FormConvert",
                Tr("FormConvert", QT_TRANSLATE_NOOP("FormConvert", "形式を変換")));

    lblDropConvert =
        DropTarget("lblDropConvert",
                   Tr("FormConvert", QT_TRANSLATE_NOOP("FormConvert", "変換するファイルをＤ&&Ｄ")));
    // Room for a drop without hunting for the target.
    lblDropConvert->setMinimumHeight(lblDropConvert->fontMetrics().height() * 5);

    cmbFormat = new QComboBox;
    for (const FormatItem& item : FormatItems)
        cmbFormat->addItem(Tr("FormConvert", item.caption), int(item.format));
    lblFormat =
        Caption("lblFormat", Tr("FormConvert", QT_TRANSLATE_NOOP("FormConvert", "変換先の形式：")),
                cmbFormat);
    Named(cmbFormat, "cmbFormat", lblFormat->text());

    spnShift = new QSpinBox;
    spnShift->setRange(-MaxTimeTagMs, MaxTimeTagMs);
    spnShift->setSingleStep(10);
    spnShift->setSuffix(Tr("FormConvert", QT_TRANSLATE_NOOP("FormConvert", " ミリ秒")));
    spnShift->setAlignment(Qt::AlignRight);
    lblShift =
        Caption("lblShift", Tr("FormConvert", QT_TRANSLATE_NOOP("FormConvert", "時刻をずらす：")),
                spnShift);
    Named(spnShift, "spnShift", lblShift->text());
    const QString shiftTip =
        Tr("FormConvert",
           QT_TRANSLATE_NOOP("FormConvert", "すべての時刻に足すミリ秒数（負の数で早める）"));
    spnShift->setToolTip(shiftTip);
    spnShift->setAccessibleDescription(shiftTip);

    auto* layout = new QGridLayout(window);
    layout->addWidget(lblDropConvert, 0, 0, 1, 2);
    auto* choices = new QGridLayout;
    choices->addWidget(lblFormat, 0, 0);
    choices->addWidget(cmbFormat, 0, 1);
    choices->addWidget(lblShift, 1, 0);
    choices->addWidget(spnShift, 1, 1);
    choices->setColumnStretch(2, 1);
    layout->addLayout(choices, 1, 0, 1, 2);
    out.setupUi("Convert",
                Tr("FormConvert", QT_TRANSLATE_NOOP("FormConvert", "変換するファイルと同じ")),
                layout, 2);
    comClose = CloseButton("comConvertClose");
    layout->addWidget(comClose, 4, 0, 1, 2, Qt::AlignRight);
    layout->setRowStretch(0, 1);
}

void RetimeWindowUi::setupUi(QDialog* window)
{
    SetUpWindow(window, "FormRetime",
                Tr("FormRetime", QT_TRANSLATE_NOOP("FormRetime", "タイミングを引き継ぐ")));

    txtOld = new PathField;
    txtNew = new PathField;
    for (PathField* field : {txtOld, txtNew})
        field->setMinimumWidth(field->fontMetrics().averageCharWidth() * PathFieldChars);
    lblOld =
        Caption("lblOld",
                Tr("FormRetime",
                   QT_TRANSLATE_NOOP("FormRetime",
                                     "元の歌詞（タイムタグ付き歌詞またはタイムタグデータ）：")),
                txtOld);
    lblNew = Caption(
        "lblNew", Tr("FormRetime", QT_TRANSLATE_NOOP("FormRetime", "編集した歌詞（タグなし）：")),
        txtNew);
    Named(txtOld, "txtOld", lblOld->text());
    Named(txtNew, "txtNew", lblNew->text());
    comOld = BrowseButton(
        "comOld", Tr("FormRetime", QT_TRANSLATE_NOOP("FormRetime", "元の歌詞のファイルを選ぶ")));
    comNew =
        BrowseButton("comNew", Tr("FormRetime",
                                  QT_TRANSLATE_NOOP("FormRetime", "編集した歌詞のファイルを選ぶ")));

    const QString run = Tr("FormRetime", QT_TRANSLATE_NOOP("FormRetime", "実行"));
    comRun = Named(new QPushButton(run), "comRun", run);
    const QString runs =
        Tr("FormRetime",
           QT_TRANSLATE_NOOP("FormRetime", "元の歌詞のタイミングを編集した歌詞に移して書き込む"));
    comRun->setAccessibleDescription(runs);
    // Enter in any of the fields runs it.
    comRun->setDefault(true);
    comRun->setToolTip(WithKey(runs, QKeySequence(Qt::Key_Return)));
    comClose = CloseButton("comRetimeClose");

    auto* layout = new QGridLayout(window);
    layout->addWidget(lblOld, 0, 0, 1, 2);
    layout->addWidget(txtOld, 1, 0);
    layout->addWidget(comOld, 1, 1);
    layout->addWidget(lblNew, 2, 0, 1, 2);
    layout->addWidget(txtNew, 3, 0);
    layout->addWidget(comNew, 3, 1);
    out.setupUi("Retime", Tr("FormRetime", QT_TRANSLATE_NOOP("FormRetime", "編集した歌詞と同じ")),
                layout, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(comRun);
    buttons->addWidget(comClose);
    layout->setRowStretch(6, 1);
    layout->addLayout(buttons, 7, 0, 1, 2);
}

} // namespace kovrant
