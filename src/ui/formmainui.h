#pragma once

#include "ui/windowchoices.h"

#include <QPushButton>

#include <array>

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QShortcut;
class QStackedWidget;
class QStatusBar;
class QWidget;

namespace kovrant {

class DropLabel;
class PathField;

// The pieces the window and its option windows are built of.

// Room for a long path in each path field, in average characters of the window's font.
inline constexpr int PathFieldChars = 64;

template <typename Widget>
Widget* Named(Widget* widget, const char* objectName, const QString& accessibleName)
{
    widget->setObjectName(QLatin1StringView(objectName));
    widget->setAccessibleName(accessibleName);
    return widget;
}

// A caption whose buddy is the control it names.
QLabel* Caption(const char* objectName, const QString& text, QWidget* buddy);
// "text（key）": a control's tooltip names its key.
QString WithKey(const QString& text, const QKeySequence& key);
// Every browse button shows ".."; its accessible name and tooltip say what it picks.
QPushButton* BrowseButton(const char* objectName, const QString& picks);
// A framed drop target whose tooltip and description name the keys that stand for a drop.
DropLabel* DropTarget(const char* objectName, const QString& caption);

// A button that opens its menu where the person is looking: at the pointer after a click of the
// mouse, under the button when it is pressed from the keyboard or by assistive technology.
class MenuButton : public QPushButton {
    Q_OBJECT

public:
    explicit MenuButton(const QString& caption, QWidget* parent = nullptr);
    void setPopup(QMenu* menu) { m_menu = menu; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openMenu();

    QMenu* m_menu = nullptr;
    bool m_byMouse = false;
};

// The main window's widgets, menu and keys, each named as the window's documentation names it
// (its objectName) and with its caption as its accessible name. Builds them and nothing else;
// what they do is FormMain's.
struct FormMainUi {
    void setupUi(QWidget* form);

    // One group of five buttons, of which the one of the mode shown is checked; Ctrl+1 to Ctrl+5.
    std::array<QPushButton*, ModeCount> OptMode{};
    QButtonGroup* modeButtons = nullptr;
    std::array<QShortcut*, ModeCount> modeKeys{};
    MenuButton* ComOption = nullptr;
    QStackedWidget* panels = nullptr;
    std::array<QWidget*, ModeCount> Frame{};

    DropLabel* lblDropDivide = nullptr;
    DropLabel* lblDropAttach = nullptr;
    DropLabel* lblDropExt = nullptr;

    QLabel* Label9 = nullptr;
    PathField* txtTTD = nullptr;
    QPushButton* ComTTD = nullptr;
    QLabel* Label10 = nullptr;
    PathField* txtSozai = nullptr;
    QPushButton* comSozai = nullptr;
    QLabel* Label5 = nullptr;
    QCheckBox* ChkSameTTD = nullptr;
    PathField* txtOut = nullptr;
    QPushButton* comOut = nullptr;
    QPushButton* ComAttach = nullptr;

    // The extension settings' lists, in the order lyrics, source lyrics, TTD.
    std::array<QLabel*, 3> extLabels{}; // Label1, Label2, Label4
    std::array<QComboBox*, 3> CmbExt{};
    QLabel* Label3 = nullptr;
    QComboBox* CmbNewExt = nullptr;

    QMenu* z_mnPopup = nullptr;
    QAction* mnAlways = nullptr;
    QAction* mnOverwrite = nullptr;
    QAction* mnNoCRCCheck = nullptr;
    QMenu* z_mnTimeRatio = nullptr;
    QActionGroup* timeRatioGroup = nullptr;
    std::array<QAction*, 3> mnTimeRatio{}; // each with its TimeRatioChoice as its data
    QAction* mnConvert = nullptr;
    QAction* mnRetime = nullptr;
    QAction* mnHelp = nullptr;
    QAction* mnAbout = nullptr;
    QAction* mnExit = nullptr;

    // The status line: what the last job did, and the options that change results, each shown
    // while it is on.
    QStatusBar* statusLine = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblNoCRCCheck = nullptr;
    QLabel* lblOverwrite = nullptr;
    QLabel* lblTimeRatio = nullptr;
};

} // namespace kovrant
