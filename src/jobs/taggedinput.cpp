#include "jobs/taggedinput.h"

#include "core/ttdformat.h"
#include "jobs/jobpaths.h"

#include <QByteArray>

namespace kovrant {

bool CombineFiles(const QString& ttdFile, const QString& sourceFile, InputLimits limits,
                  CombinedForm form, const JobSnapshot& state, JobContext& context,
                  CombinedLyrics& out, FileOutcome& failure)
{
    qint64 ttdSize = 0;
    if (const ResultCode code = CheckInputFile(ttdFile, limits.ttd, &ttdSize);
        code != ResultCode::Ok) {
        failure = Failure(code, ttdFile);
        return false;
    }
    // Both inputs pass the cheap checks before either is read.
    qint64 sourceSize = 0;
    if (const ResultCode code = CheckInputFile(sourceFile, limits.lyrics, &sourceSize);
        code != ResultCode::Ok) {
        failure = Failure(code, sourceFile);
        return false;
    }

    TextFile ttd;
    FileErrorDetails details;
    if (const ResultCode code =
            LoadInputText(ttdFile, TtdRecognition(state.recognition), ttd, details, ttdSize);
        code != ResultCode::Ok) {
        failure = Failure(code, ttdFile, details);
        return false;
    }
    TextFile source;
    std::optional<TextFile> other;
    if (const ResultCode code =
            LoadInputText(sourceFile, state.recognition, source, details, sourceSize, &other);
        code != ResultCode::Ok) {
        failure = Failure(code, sourceFile, details);
        return false;
    }

    CombinedLyrics combined;
    const ResultCode code = CombineSource(ttd.text, source, other, state, combined, form);
    if (code == ResultCode::CrcMismatch) {
        if (!RepairCrcMismatch(ttdFile, ttd.text, source, state, context, combined, form)) {
            failure = {false, code, ttdFile, true};
            return false;
        }
    } else if (code != ResultCode::Ok) {
        failure = Failure(code, SourceAtFault(code) ? sourceFile : ttdFile);
        return false;
    }
    out = std::move(combined);
    return true;
}

bool IsTtdFile(const QString& path)
{
    // Enough for the identifier in UTF-16 after its byte-order mark.
    QByteArray start;
    if (!ReadFileStart(path, 2 + 2 * TtdIdentifier.size(), start))
        return false;
    for (const TextEncoding encoding : {TextEncoding::Cp932, TextEncoding::Utf8Bom,
                                        TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        QByteArray mark;
        if (EncodeText(TtdIdentifier, encoding, mark) && start.startsWith(mark))
            return true;
    }
    return false;
}

bool ReadInputText(const QString& file, qint64 limit, const JobSnapshot& state, TextFile& text,
                   FileOutcome& failure)
{
    qint64 size = 0;
    if (const ResultCode code = CheckInputFile(file, limit, &size); code != ResultCode::Ok) {
        failure = Failure(code, file);
        return false;
    }
    FileErrorDetails details;
    if (const ResultCode code = LoadInputText(file, state.recognition, text, details, size);
        code != ResultCode::Ok) {
        failure = Failure(code, file, details);
        return false;
    }
    return true;
}

bool ReadTaggedLyrics(const QString& file, const JobSnapshot& state, JobContext& context,
                      TextFile& lyrics, FileOutcome& failure)
{
    if (!IsTtdFile(file))
        return ReadInputText(file, NamedInputLimits.lyrics, state, lyrics, failure);
    CombinedLyrics combined;
    if (!CombineFiles(file, CombineSourcePath(file, state), NamedInputLimits, CombinedForm::Text,
                      state, context, combined, failure))
        return false;
    lyrics = {std::move(combined.text), combined.encoding};
    return true;
}

} // namespace kovrant
