#include "ui/formmainui.h"

#include "core/timeratio.h"
#include "ui/droptargets.h"
#include "ui/messagetexts.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kovrant {

using namespace Qt::StringLiterals;

namespace {

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

// Room for a long path in each path field, in average characters of the window's font.
constexpr int PathFieldChars = 64;

template <typename Widget>
Widget* Named(Widget* widget, const char* objectName, const QString& accessibleName)
{
    widget->setObjectName(QLatin1StringView(objectName));
    widget->setAccessibleName(accessibleName);
    return widget;
}

QLabel* Caption(const char* objectName, const QString& text, QWidget* buddy)
{
    auto* label = Named(new QLabel(text), objectName, text);
    label->setBuddy(buddy);
    return label;
}

QPushButton* BrowseButton(const char* objectName)
{
    const QString caption = Tr(QT_TRANSLATE_NOOP("FormMain", ".."));
    auto* button = Named(new QPushButton(caption), objectName, caption);
    // Only as wide as it is high, beside the field it fills.
    button->setFixedWidth(button->sizeHint().height());
    return button;
}

DropLabel* DropTarget(const char* objectName, const QString& caption)
{
    auto* label = new DropLabel(caption);
    Named(label, objectName, label->text());
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return label;
}

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

void FormMainUi::setupUi(QWidget* form)
{
    form->setWindowTitle(ApplicationTitle());
    form->setAccessibleName(ApplicationTitle());

    // The mode buttons in two rows, the "Option" button closing the second.
    auto* bar = new QWidget;
    auto* barLayout = new QGridLayout(bar);
    modeButtons = new QButtonGroup(form);
    for (std::size_t mode = 0; mode < Modes.size(); ++mode) {
        const QString caption = Tr(Modes[mode].caption);
        auto* button = new QPushButton(caption);
        button->setObjectName(u"OptMode"_s.append(QString::number(mode)));
        button->setAccessibleName(caption);
        button->setCheckable(true);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, QColor(Modes[mode].colour));
        button->setPalette(palette);
        const int index = static_cast<int>(mode);
        modeButtons->addButton(button, index);
        barLayout->addWidget(button, index / 3, index % 3);
        OptMode[mode] = button;
    }
    const QString option = Tr(QT_TRANSLATE_NOOP("FormMain", "Option"));
    ComOption = Named(new QPushButton(option), "ComOption", option);
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
    ComTTD = BrowseButton("ComTTD");
    comSozai = BrowseButton("comSozai");
    comOut = BrowseButton("comOut");
    const QString sameTtd = Tr(QT_TRANSLATE_NOOP("FormMain", "TTDと同じ"));
    ChkSameTTD = Named(new QCheckBox(sameTtd), "ChkSameTTD", sameTtd);
    const QString attach = Tr(QT_TRANSLATE_NOOP("FormMain", "結合"));
    ComAttach = Named(new QPushButton(attach), "ComAttach", attach);

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
    z_mnPopup->addSeparator()->setObjectName(u"mnSep1"_s);
    mnHelp = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "Kovrantのヘルプ")));
    mnHelp->setObjectName(u"mnHelp"_s);
    mnAbout = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "Kovrantについて")));
    mnAbout->setObjectName(u"mnAbout"_s);
    z_mnPopup->addSeparator()->setObjectName(u"mnSep2"_s);
    mnExit = z_mnPopup->addAction(Tr(QT_TRANSLATE_NOOP("FormMain", "終了")));
    mnExit->setObjectName(u"mnExit"_s);
}

} // namespace kovrant
