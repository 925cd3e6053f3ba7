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

// The texts keep their CRLF line breaks; a box shows a lone LF alike, and assistive technology
// reads no stray carriage return.
QString ForBox(QString text)
{
    return text.replace(MessageLineBreak.toString(), u"\n"_s);
}

int Show(QWidget* owner, QMessageBox::Icon icon, const QString& text,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok, const QString& details = {})
{
    QMessageBox box(icon, ApplicationTitle(), ForBox(text), buttons, owner);
    if (!details.isEmpty())
        box.setDetailedText(ForBox(details));
    return box.exec();
}

QStringList Chosen(QWidget* owner, const FileDialogRequest& request, QFileDialog::FileMode mode)
{
    // Qt's own dialog matches the pattern in any case; a native one may hide a.ttd from *.TTD.
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(mode);
    if (!request.pattern.isEmpty())
        dialog.setNameFilter(request.pattern + u" ("_s + request.pattern + u')');
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
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
    // Where the source lyrics differ goes into the box's details.
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
    showBatchSummary(summary, BatchReport());
}

// The counts under the name; what was dropped or left untimed in the details.
void DesktopDialogs::reportRetime(const QString& newPath, const RetimeResult& result)
{
    Show(m_owner, QMessageBox::Information,
         PrintableFileName(DisplayName(newPath)) + MessageLineBreak.toString() +
             RetimeCountsText(result),
         QMessageBox::Ok, RetimeReportLines(result).join(MessageLineBreak));
}

void DesktopDialogs::showBatchSummary(BatchSummary summary, const BatchReport& report)
{
    Show(m_owner, QMessageBox::Information, SummaryText(summary), QMessageBox::Ok,
         SummaryDetails(report));
}

void DesktopDialogs::reportOwnOutput(const QString& input)
{
    Show(m_owner, QMessageBox::Information, OwnOutputMessage(input));
}

void DesktopDialogs::reportSettingsNotSaved(const QString& path)
{
    Show(m_owner, QMessageBox::Warning, SettingsNotSavedMessage(path));
}

std::optional<QString> DesktopDialogs::openFile(const FileDialogRequest& request)
{
    const QStringList files = Chosen(m_owner, request, QFileDialog::ExistingFile);
    if (files.isEmpty())
        return std::nullopt;
    return files.constFirst();
}

QStringList DesktopDialogs::openFiles(const FileDialogRequest& request)
{
    return Chosen(m_owner, request, QFileDialog::ExistingFiles);
}

QString DesktopDialogs::pickFolder(const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(m_owner, tr("フォルダを選択してください"),
                                             startFolder);
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
