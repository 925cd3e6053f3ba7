#include "jobs/outputs.h"

#include "files/outputfile.h"

#include <memory>
#include <vector>

namespace kovrant {

namespace {

OutputsOutcome Failure(ResultCode code, const QString& path)
{
    return {OutputsOutcome::Failed, code, path};
}

struct Planned {
    const OutputText* output = nullptr;
    TextEncoding encoding = TextEncoding::Cp932;
    bool replace = false; // something stands at the name and the user agreed to replace it
    bool throughLink = false;
    std::unique_ptr<PreparedOutput> prepared = std::make_unique<PreparedOutput>();
};

} // namespace

OutputsOutcome WriteOutputs(const QList<OutputText>& outputs, const JobSnapshot& state,
                            JobContext& context)
{
    // A name that cannot exist fails the group before anything is asked about.
    std::vector<std::pair<OutputTarget, FileId>> targets;
    for (const OutputText& output : outputs) {
        FileId id;
        const OutputTarget target = ExamineOutput(output.path, &id);
        if (target == OutputTarget::NameTooLong)
            return Failure(ResultCode::NameTooLong, output.path);
        targets.emplace_back(target, id);
    }

    std::vector<Planned> plan;
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const OutputText& output = outputs[i];
        const auto [target, id] = targets[std::size_t(i)];
        if (target != OutputTarget::Missing) {
            // Only a file, or a link to one, can be a file this run wrote.
            if (target != OutputTarget::Other && context.writtenThisRun.contains(id))
                return Failure(ResultCode::WrittenThisRun, output.path);
            if (!state.overwriteWithoutAsking && !context.dialogs.askOverwrite(output.path))
                break;
        }
        Planned& planned = plan.emplace_back();
        planned.output = &output;
        planned.encoding = output.encoding;
        planned.replace = target != OutputTarget::Missing;
        planned.throughLink = target == OutputTarget::LinkToFile;
    }

    const PreparedOutput* neighbour = nullptr;
    for (Planned& planned : plan) {
        QByteArray bytes;
        if (planned.output->bytes) {
            bytes = *planned.output->bytes;
        } else if (!EncodeText(planned.output->text, planned.encoding, bytes)) {
            planned.encoding = FallbackEncoding;
            if (!EncodeText(planned.output->text, planned.encoding, bytes))
                return Failure(ResultCode::SaveFailed, planned.output->path);
        }
        context.hooks.letPendingEventsRun();
        if (!planned.prepared->prepare(planned.output->path, bytes, planned.throughLink, neighbour))
            return Failure(ResultCode::SaveFailed, planned.output->path);
        neighbour = planned.prepared.get();
    }

    for (Planned& planned : plan) {
        const QString& path = planned.output->path;
        PreparedOutput::Commit commit = planned.prepared->commit(planned.replace);
        // Something took the name since it was examined: it is treated as any existing file.
        if (commit == PreparedOutput::Commit::Taken) {
            if (!state.overwriteWithoutAsking && !context.dialogs.askOverwrite(path))
                return {OutputsOutcome::Declined, ResultCode::Ok, QString()};
            commit = planned.prepared->commit(true);
        }
        if (commit != PreparedOutput::Commit::Done)
            return Failure(ResultCode::SaveFailed, path);
        context.writtenThisRun.insert(planned.prepared->identity());
        context.log.written(path, planned.encoding);
    }
    if (plan.size() < std::size_t(outputs.size()))
        return {OutputsOutcome::Declined, ResultCode::Ok, QString()};
    return {};
}

} // namespace kovrant
