#pragma once

#include "core/lyricsconversion.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kovrant {

class DropLabel;
class PathField;

// The output folder as the single combine shows it: a caption, whether to write beside the
// input, the folder's field and its browse button.
struct OutputFolderRow {
    QLabel* caption = nullptr;
    QCheckBox* beside = nullptr;
    PathField* folder = nullptr;
    QPushButton* browse = nullptr;

    // Names the controls with prefix ("Convert": lblConvertOut, chkConvertBeside, txtConvertOut,
    // comConvertOut) and puts them in two rows of layout from row on, beside of them saying what
    // the input is.
    void setupUi(const char* prefix, const QString& besideCaption, QGridLayout* layout, int row);
};

// The widgets of the option windows, each named and with its caption as its accessible name.
// Builds them and nothing else; what they do is the windows'.
struct ConvertWindowUi {
    void setupUi(QDialog* window);

    DropLabel* lblDropConvert = nullptr;
    QLabel* lblFormat = nullptr;
    QComboBox* cmbFormat = nullptr; // each item with its LyricsFormat as its data
    QLabel* lblShift = nullptr;
    QSpinBox* spnShift = nullptr; // milliseconds
    OutputFolderRow out;
    QPushButton* comClose = nullptr;
};

struct RetimeWindowUi {
    void setupUi(QDialog* window);

    QLabel* lblOld = nullptr;
    PathField* txtOld = nullptr;
    QPushButton* comOld = nullptr;
    QLabel* lblNew = nullptr;
    PathField* txtNew = nullptr;
    QPushButton* comNew = nullptr;
    OutputFolderRow out;
    QPushButton* comRun = nullptr;
    QPushButton* comClose = nullptr;
};

} // namespace kovrant
