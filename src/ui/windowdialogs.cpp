#include "ui/windowdialogs.h"

#include "jobs/messages.h"
#include "ui/messagetexts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace kovrant {

using namespace Qt::StringLiterals;

namespace {

int Show(QWidget* owner, QMessageBox::Icon icon, const QString& text,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok)
{
    QMessageBox box(icon, ApplicationTitle(), text, buttons, owner);
    return box.exec();
}

} // namespace

bool DesktopDialogs::askOverwrite(const QString& path)
{
    return Show(m_owner, QMessageBox::Question, OverwriteMessage(path),
                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void DesktopDialogs::reportFileError(const QString& path, ResultCode code)
{
    Show(m_owner, QMessageBox::Information, FileErrorMessage(path, code));
}

void DesktopDialogs::reportFileNotice(const QString& path, FileNotice notice)
{
    Show(m_owner, QMessageBox::Information, FileNoticeMessage(path, notice));
}

void DesktopDialogs::reportFolderNotFound(const QString& folder)
{
    Show(m_owner, QMessageBox::Information, FolderNotFoundMessage(folder));
}

void DesktopDialogs::reportOutputFolderMissing()
{
    Show(m_owner, QMessageBox::Information, OutputFolderMissingText());
}

void DesktopDialogs::showSummary(BatchSummary summary)
{
    Show(m_owner, QMessageBox::Information, SummaryText(summary));
}

std::optional<QString> DesktopDialogs::openFile(const QString& pattern)
{
    // Qt's own dialog matches the pattern in any case; a native one may hide a.ttd from *.TTD.
    QFileDialog dialog(m_owner);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(pattern + u" ("_s + pattern + u')');
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString DesktopDialogs::pickFolder()
{
    return QFileDialog::getExistingDirectory(m_owner, tr("フォルダを選択してください"),
                                             QDir::homePath());
}

void DesktopDialogs::warnEqualExtensions()
{
    Show(m_owner, QMessageBox::Warning, tr("同じ拡張子は無効です。"));
}

void DesktopDialogs::showAbout()
{
    // Stands in for the About window until it comes: the name and the version, and OK.
    QDialog box(m_owner);
    box.setWindowTitle(tr("Kovrantについて"));
    auto* layout = new QVBoxLayout(&box);
    auto* text = new QLabel(ApplicationTitle() + u'\n' + tr("Version ") + u"1.00"_s);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    // Wide enough for its title to show whole beside the title bar's buttons.
    box.setMinimumWidth(box.fontMetrics().horizontalAdvance(box.windowTitle()) * 3);
    box.exec();
}

} // namespace kovrant
