#pragma once

#include "ui/windowchoices.h"

#include <array>

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QWidget;

namespace kovrant {

class DropLabel;
class PathField;

// The main window's widgets and menu, each named as the window's documentation names it (its
// objectName) and with its caption as its accessible name. Builds them and nothing else; what
// they do is FormMain's.
struct FormMainUi {
    void setupUi(QWidget* form);

    std::array<QPushButton*, ModeCount> OptMode{};
    QButtonGroup* modeButtons = nullptr;
    QPushButton* ComOption = nullptr;
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
    QAction* mnHelp = nullptr;
    QAction* mnAbout = nullptr;
    QAction* mnExit = nullptr;
};

} // namespace kovrant
