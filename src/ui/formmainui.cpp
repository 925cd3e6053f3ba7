#include "ui/formmainui.h"

#include "core/timeratio.h"
#include "ui/droptargets.h"
#include "ui/messagetexts.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace kovrant {

using namespace Qt::StringLiterals;

// The bar of the mode buttons, which assistive technology meets as one group of choices.
class ModeBar : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
};

namespace {

QAccessibleInterface* ModeBarAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1StringView(ModeBar::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
}

// The status line's text, cut short in the middle where the line is too narrow for it; the
// whole text stays the label's text, which assistive technology reads.
class StatusText : public QLabel {
public:
    StatusText()
    {
        setTextFormat(Qt::PlainText);
        // Any text fits the window's fixed width; an empty line keeps its height.
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setMinimumHeight(fontMetrics().height());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(),
                              fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()),
                              foregroundRole());
    }
};

QString Tr(const char* text)
{
    return QCoreApplication::translate("FormMain", text);
}

struct ModeLook {
    const char* caption;
    QRgb colour; // of the mode button and its panel
};

constexpr std::array<ModeLook, ModeCount> Modes{{
    {QT_TRANSLATE_NOOP("FormMain", "連続分割"), 0xFFC0C0},
    {QT_TRANSLATE_NOOP("FormMain", "結合"), 0xC0FFC0},
    {QT_TRANSLATE_NOOP("FormMain", "連続結合"), 0xFFFFC0},
    {QT_TRANSLATE_NOOP("FormMain", "拡張子設定"), 0xC0FFFF},
    {QT_TRANSLATE_NOOP("FormMain", "拡張子変換ツール"), 0xC0C0FF},
}};

QWidget* Panel(std::size_t mode)
{
    auto* panel = new QWidget;
    panel->setObjectName(u"Frame"_s.append(QString::number(mode)));
    panel->setAccessibleName(Tr(Modes[mode].caption));
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(Modes[mode].colour));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

QAction* Check(QMenu* menu, const char* objectName, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1StringView(objectName));
    action->setCheckable(true);
    return action;
}

} // namespace

QLabel* Caption(const char* objectName, const QString& text, QWidget* buddy)
{
    auto* label = Named(new QLabel(text), objectName, text);
    label->setBuddy(buddy);
    return label;
}

QString WithKey(const QString& text, const QKeySequence& key)
{
    return Tr(QT_TRANSLATE_NOOP("FormMain", "%1（%2）"))
        .arg(text, key.toString(QKeySequence::NativeText));
}

QPushButton* BrowseButton(const char* objectName, const QString& picks)
{
    const QString caption = Tr(QT_TRANSLATE_NOOP("FormMain", ".."));
    auto* button = Named(new QPushButton(caption), objectName, picks);
    button->setToolTip(picks);
    // Only as wide as it is high, beside the field it fills.
    button->setFixedWidth(button->sizeHint().height());
    return button;
}

DropLabel* DropTarget(const char* objectName, const QString& caption)
{
    auto* label = new DropLabel(caption);
    Named(label, objectName, label->text());
    const QString keys =
        Tr(QT_TRANSLATE_NOOP("FormMain", "Enter・Space・クリックでファイルを選ぶ、%1で貼り付ける"))
            .arg(QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText));
    label->setToolTip(keys);
    label->setAccessibleDescription(keys);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return label;
}

void FormMainUi::setupUi(QWidget* form)
{
    form->setWindowTitle(ApplicationTitle());
    form->setAccessibleName(ApplicationTitle());

    // The mode buttons in two rows, the "Option" button closing the second. Checkable buttons
    // that exclude each other are what assistive technology announces as radio buttons.
    static const bool accessibleBar = (QAccessible::installFactory(ModeBarAccessible), true);
    Q_UNUSED(accessibleBar);
    auto* bar = new ModeBar;
    bar->setAccessibleName(Tr(QT_TRANSLATE_NOOP("FormMain", "モード")));
    auto* barLayout = new QGridLayout(bar);
    modeButtons = new QButtonGroup(form);
    for (std::size_t mode = 0; mode < Modes.size(); ++mode) {
        const QString caption = Tr(Modes[mode].caption);
        auto* button = new QPushButton(caption);
        button->setObjectName(u"OptMode"_s.append(QString::number(mode)));
        button->setAccessibleName(caption);
        button->setCheckable(true);
        button->setAutoExclusive(true);
        const QString description =
            Tr(QT_TRANSLATE_NOOP("FormMain", "%1の画面に切り替える")).arg(caption);
        button->setAccessibleDescription(description);
        modeKeys[mode] =
            new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + int(mode))), form);
        button->setToolTip(WithKey(description, modeKeys[mode]->key()));
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, QColor(Modes[mode].colour));
        button->setPalette(palette);
        const int index = static_cast<int>(mode);
        modeButtons->addButton(button, index);
        barLayout->addWidget(button, index / 3, index % 3);
        OptMode[mode] = button;
    }
    const QString option = Tr(QT_TRANSLATE_NOOP("FormMain", "Option"));
    ComOption = Named(new MenuButton(option), "ComOption", option);
    barLayout->addWidget(ComOption, 1, 2);

    panels = new QStackedWidget;
    for (std::size_t mode = 0; mode < Frame.size(); ++mode) {
        Frame[mode] = Panel(mode);
        panels->addWidget(Frame[mode]);
    }

    // Batch divide and batch combine: a drop target filling the panel.
    lblDropDivide = DropTarget(
        "lblDropDivide", Tr(QT_TRANSLATE_NOOP("FormMain", "タイムタグ付き歌詞ファイルをＤ&&Ｄ")));
    (new QVBoxLayout(Frame[ModeIndex(MainMode::BatchDivide)]))->addWidget(lblDropDivide);
    lblDropAttach = DropTarget(
        "lblDropAttach", Tr(QT_TRANSLATE_NOOP("FormMain", "タイムタグデータファイルをＤ&&Ｄ")));
    (new QVBoxLayout(Frame[ModeIndex(MainMode::BatchCombine)]))->addWidget(lblDropAttach);

    // The single combine: three path fields with their browse buttons, top to bottom.
    txtTTD = new PathField;
    txtSozai = new PathField;
    txtOut = new PathField;
    const int pathWidth = txtTTD->fontMetrics().averageCharWidth() * PathFieldChars;
    Label9 =
        Caption("Label9", Tr(QT_TRANSLATE_NOOP("FormMain", "タイムタグデータファイル：")), txtTTD);
    Label10 = Caption("Label10", Tr(QT_TRANSLATE_NOOP("FormMain", "素材ファイル：")), txtSozai);
    Label5 = Caption("Label5", Tr(QT_TRANSLATE_NOOP("FormMain", "出力フォルダ：")), txtOut);
    Named(txtTTD, "txtTTD", Label9->text());
    Named(txtSozai, "txtSozai", Label10->text());
    Named(txtOut, "txtOut", Label5->text());
    for (PathField* field : {txtTTD, txtSozai, txtOut})
        field->setMinimumWidth(pathWidth);
    ComTTD =
        BrowseButton("ComTTD", Tr(QT_TRANSLATE_NOOP("FormMain", "タイムタグデータファイルを選ぶ")));
    comSozai = BrowseButton("comSozai", Tr(QT_TRANSLATE_NOOP("FormMain", "素材ファイルを選ぶ")));
    comOut = BrowseButton("comOut", Tr(QT_TRANSLATE_NOOP("FormMain", "出力フォルダを選ぶ")));
    const QString sameTtd = Tr(QT_TRANSLATE_NOOP("FormMain", "TTDと同じ"));
    ChkSameTTD = Named(new QCheckBox(sameTtd), "ChkSameTTD", sameTtd);
    const QString attach = Tr(QT_TRANSLATE_NOOP("FormMain", "結合"));
    ComAttach = Named(new QPushButton(attach), "ComAttach", attach);
    const QString combines = Tr(QT_TRANSLATE_NOOP(
        "FormMain", "タイムタグデータと素材ファイルを結合して出力フォルダに書き込む"));
    ComAttach->setAccessibleDescription(combines);
    // Enter in any of the fields above runs it.
    ComAttach->setDefault(true);
    ComAttach->setToolTip(WithKey(combines, QKeySequence(Qt::Key_Return)));

    auto* combine = new QGridLayout(Frame[ModeIndex(MainMode::Combine)]);
    combine->addWidget(Label9, 0, 0, 1, 2);
    combine->addWidget(txtTTD, 1, 0);
    combine->addWidget(ComTTD, 1, 1);
    combine->addWidget(Label10, 2, 0, 1, 2);
    combine->addWidget(txtSozai, 3, 0);
    combine->addWidget(comSozai, 3, 1);
    auto* outRow = new QHBoxLayout;
    outRow->addWidget(Label5);
    outRow->addWidget(ChkSameTTD);
    outRow->addStretch();
    combine->addLayout(outRow, 4, 0, 1, 2);
    combine->addWidget(txtOut, 5, 0);
    combine->addWidget(comOut, 5, 1);
    combine->setRowStretch(6, 1);
    combine->addWidget(ComAttach, 7, 0, 1, 2, Qt::AlignRight);

    // The extension settings: the three lists offer fixed items and take no typing.
    const std::array<const char*, 3> extCaptions{
        QT_TRANSLATE_NOOP("FormMain", "タイムタグ付き歌詞："),
        QT_TRANSLATE_NOOP("FormMain", "素材歌詞："),
        QT_TRANSLATE_NOOP("FormMain", "タイムタグデータ："),
    };
    const std::array<const char*, 3> extLabelNames{"Label1", "Label2", "Label4"};
    const std::array<const char*, 3> extListNames{"CmbExt0", "CmbExt1", "CmbExt2"};
    const auto items = [](const auto& choices) {
        QStringList list;
        for (const QStringView choice : choices)
            list << choice.toString();
        return list;
    };
    const std::array<QStringList, 3> extItems{
        items(LyricsExtensionChoices), items(SourceExtensionChoices), items(TtdExtensionChoices)};
    auto* settings = new QGridLayout(Frame[ModeIndex(MainMode::ExtensionSettings)]);
    for (std::size_t i = 0; i < 3; ++i) {
        const QString caption = Tr(extCaptions[i]);
        CmbExt[i] = Named(new QComboBox, extListNames[i], caption);
        CmbExt[i]->addItems(extItems[i]);
        extLabels[i] = Caption(extLabelNames[i], caption, CmbExt[i]);
        const int row = static_cast<int>(i);
        settings->addWidget(extLabels[i], row, 0, Qt::AlignRight);
        settings->addWidget(CmbExt[i], row, 1, Qt::AlignLeft);
    }
    settings->setColumnStretch(1, 1);
    settings->setRowStretch(3, 1);

    // The extension tool: the new extension, typed or taken from the recent list, above its
    // drop target. Enter does not add the typed text to the list; only a rename that went
    // through does.
    CmbNewExt = new QComboBox;
    CmbNewExt->setEditable(true);
    CmbNewExt->setInsertPolicy(QComboBox::NoInsert);
    Label3 = Caption("Label3", Tr(QT_TRANSLATE_NOOP("FormMain", "新拡張子：")), CmbNewExt);
    Named(CmbNewExt, "CmbNewExt", Label3->text());
    lblDropExt = DropTarget("lblDropExt",
                            Tr(QT_TRANSLATE_NOOP("FormMain", "拡張子変換したいファイルをＤ&&Ｄ")));
    auto* tool = new QVBoxLayout(Frame[ModeIndex(MainMode::ExtensionTool)]);
    auto* newExtRow = new QHBoxLayout;
    newExtRow->addWidget(Label3);
    newExtRow->addWidget(CmbNewExt, 1);
    tool->addLayout(newExtRow);
    tool->addWidget(lblDropExt, 1);

    // The panels end where the window ends, to the right and below.
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(bar);
    layout->addWidget(panels);

    statusLine = new QStatusBar;
    statusLine->setObjectName(u"statusLine"_s);
    statusLine->setSizeGripEnabled(false);
    const int edge = statusLine->style()->pixelMetric(QStyle::PM_LayoutLeftMargin) / 2;
    statusLine->setContentsMargins(edge, 0, edge, 0);
    lblStatus = new StatusText;
    lblStatus->setObjectName(u"lblStatus"_s);
    statusLine->addWidget(lblStatus, 1);
    layout->addWidget(statusLine);

    z_mnPopup = new QMenu(Tr(QT_TRANSLATE_NOOP("FormMain", "popup")), form);
    z_mnPopup->setObjectName(u"z_mnPopup"_s);
    mnAlways = Check(z_mnPopup, "mnAlways", Tr(QT_TRANSLATE_NOOP("FormMain", "常に表示")));
    mnOverwrite =
        Check(z_mnPopup, "mnOverwrite", Tr(QT_TRANSLATE_NOOP("FormMain", "確認せずに上書きする")));
    mnNoCRCCheck = Check(z_mnPopup, "mnNoCRCCheck",
                         Tr(QT_TRANSLATE_NOOP("FormMain", "CRCチェックを省略する")));
    z_mnTimeRatio = z_mnPopup->addMenu(Tr(QT_TRANSLATE_NOOP("FormMain", "@TimeRatio強制変換")));
    z_mnTimeRatio->setObjectName(u"z_mnTimeRatio"_s);
    timeRatioGroup = new QActionGroup(z_mnTimeRatio);
    const std::array<const char*, 3> ratioCaptions{
        QT_TRANSLATE_NOOP("FormMain", "しない"),
        QT_TRANSLATE_NOOP("FormMain", "@TimeRatio=1"),
        QT_TRANSLATE_NOOP("FormMain", "@TimeRatio=0.9953125"),
    };
    const std::array<const char*, 3> ratioNames{"mnTimeRatio0", "mnTimeRatio1", "mnTimeRatio2"};
    const std::array<TimeRatioChoice, 3> ratios{TimeRatioChoice::Unchanged, TimeRatioChoice::Ratio1,
                                                TimeRatioChoice::Ratio0_9953125};
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        mnTimeRatio[i] = Check(z_mnTimeRatio, ratioNames[i], Tr(ratioCaptions[i]));
        mnTimeRatio[i]->setData(QVariant::fromValue(ratios[i]));
        timeRatioGroup->addAction(mnTimeRatio[i]);
    }
    // The jobs that have a window of their own.
    z_mnPopup->addSeparator()->setObjectName(u"mnSep3"_s);
    mnConvert = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "形式を変換...")));
    mnConvert->setObjectName(u"mnConvert"_s);
    mnRetime = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "タイミングを引き継ぐ...")));
    mnRetime->setObjectName(u"mnRetime"_s);
    z_mnPopup->addSeparator()->setObjectName(u"mnSep1"_s);
    mnHelp = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "Kovrantのヘルプ")));
    mnHelp->setObjectName(u"mnHelp"_s);
    mnHelp->setShortcut(QKeySequence::HelpContents);
    form->addAction(mnHelp); // F1 works with the menu closed
    mnAbout = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "Kovrantについて")));
    mnAbout->setObjectName(u"mnAbout"_s);
    z_mnPopup->addSeparator()->setObjectName(u"mnSep2"_s);
    mnExit = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "終了")));
    mnExit->setObjectName(u"mnExit"_s);
    ComOption->setPopup(z_mnPopup);

    // Each option that changes results has its mark on the status line while it is on, as short
    // as can be, so that the line keeps room for what the last job did; its tooltip is the option
    // as the menu names it. A forced @TimeRatio shows the choice's caption.
    const auto mark = [this](const char* objectName, const QString& text, const QAction* shows) {
        auto* label = Named(new QLabel(text), objectName, text);
        label->setToolTip(shows->text());
        label->setAccessibleDescription(shows->text());
        label->setVisible(false);
        statusLine->addPermanentWidget(label);
        return label;
    };
    lblNoCRCCheck =
        mark("lblNoCRCCheck", Tr(QT_TRANSLATE_NOOP("FormMain", "CRC省略")), mnNoCRCCheck);
    lblOverwrite =
        mark("lblOverwrite", Tr(QT_TRANSLATE_NOOP("FormMain", "上書き確認なし")), mnOverwrite);
    lblTimeRatio = mark("lblTimeRatio", QString(), z_mnTimeRatio->menuAction());
}

MenuButton::MenuButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    connect(this, &QPushButton::clicked, this, &MenuButton::openMenu);
}

void MenuButton::mousePressEvent(QMouseEvent* event)
{
    m_byMouse = true;
    QPushButton::mousePressEvent(event);
}

void MenuButton::keyPressEvent(QKeyEvent* event)
{
    m_byMouse = false;
    QPushButton::keyPressEvent(event);
}

void MenuButton::openMenu()
{
    if (!m_menu)
        return;
    const bool atPointer = std::exchange(m_byMouse, false);
    m_menu->popup(atPointer ? QCursor::pos() : mapToGlobal(QPoint(0, height())));
}

} // namespace kovrant

#include "formmainui.moc"
