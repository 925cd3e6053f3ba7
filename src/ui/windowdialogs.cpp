#include "ui/windowdialogs.h"

#include "files/filenames.h"
#include "jobs/messages.h"
#include "ui/formabout.h"
#include "ui/messagetexts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace kovrant {

using namespace Qt::StringLiterals;

namespace {

// details, when there are any, go into the box's details, so that its text stays as it is.
int Show(QWidget* owner, QMessageBox::Icon icon, const QString& text,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok, const QString& details = {})
{
    QMessageBox box(icon, ApplicationTitle(), text, buttons, owner);
    if (!details.isEmpty())
        box.setDetailedText(details);
    return box.exec();
}

} // namespace

bool DesktopDialogs::askOverwrite(const QString& path)
{
    return Show(m_owner, QMessageBox::Question, OverwriteMessage(path),
                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void DesktopDialogs::reportFileError(const QString& path, ResultCode code,
                                     const FileErrorDetails& details)
{
    Show(m_owner, QMessageBox::Information, FileErrorMessage(path, code), QMessageBox::Ok,
         DetailsText(details));
}

bool DesktopDialogs::offerRepair(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    return Show(m_owner, QMessageBox::Question, RepairMessage(ttdPath, diagnosis),
                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void DesktopDialogs::reportCrcMismatch(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    Show(m_owner, QMessageBox::Information, FileErrorMessage(ttdPath, ResultCode::CrcMismatch),
         QMessageBox::Ok, MismatchDetails(diagnosis));
}

void DesktopDialogs::reportFileNotice(const QString& path, FileNotice notice,
                                      const FileErrorDetails& details)
{
    Show(m_owner, QMessageBox::Information, FileNoticeMessage(path, notice), QMessageBox::Ok,
         DetailsText(details));
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

// The counts under the name; what was dropped or left untimed in the details.
void DesktopDialogs::reportRetime(const QString& newPath, const RetimeResult& result)
{
    Show(m_owner, QMessageBox::Information,
         PrintableFileName(DisplayName(newPath)) + MessageLineBreak + RetimeCountsText(result),
         QMessageBox::Ok, RetimeReportLines(result).join(MessageLineBreak));
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
    FormAbout about(m_owner);
    about.exec();
}

} // namespace kovrant
