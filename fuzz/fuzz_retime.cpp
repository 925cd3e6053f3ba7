// Any old text and new text (the input split at its first NUL): retiming answers with one of its
// codes, or with a text whose tags are the old text's, in their order, never a new one, and
// whose counts add up to the old groups; memory stays a small multiple of the texts. Neither
// text holds "@", so no attribute line carries tags of its own or moves them.
#include "allocations.h"
#include "core/retime.h"
#include "core/timetag.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace kovrant;
using kovrant::fuzzing::Allocations;

namespace {

QStringList Tags(QStringView text)
{
    QStringList tags;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsTimeTagAt(text, i)) {
            tags << text.sliced(i, TimeTagLength).toString();
            i += TimeTagLength - 1;
        }
    }
    return tags;
}

// Whether part holds its tags in the order of whole, each at most as often.
bool InOrder(const QStringList& part, const QStringList& whole)
{
    qsizetype at = 0;
    for (const QString& tag : part) {
        while (at < whole.size() && whole[at] != tag)
            ++at;
        if (at++ == whole.size())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Allocations::install();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString input = QString::fromUtf8(QByteArrayView(data, qsizetype(size)));
    input.replace(u'@', u'a');
    const qsizetype split = input.indexOf(QChar(u'\0'));
    const QString oldTagged = split < 0 ? input : input.first(split);
    const QString newText = split < 0 ? QString() : input.sliced(split + 1);

    RetimeResult result;
    ResultCode code = ResultCode::Ok;
    bool ok = false;
    const std::size_t held =
        Allocations::peakOf([&] { ok = RetimeLyrics(oldTagged, newText, result, code); });
    if (ok != (code == ResultCode::Ok) || held > 64 * size + 256 * 1024)
        std::abort();
    if (!ok) {
        if (code != ResultCode::RetimeNoTimeTag && code != ResultCode::RetimeEmptyText &&
            code != ResultCode::RetimeTooDifferent)
            std::abort();
        return 0;
    }
    const QStringList oldTags = Tags(oldTagged);
    const QStringList carried = Tags(result.taggedText);
    qsizetype droppedTags = 0;
    for (const DroppedGroup& group : result.dropped)
        droppedTags += Tags(group.tags).size();
    if (!InOrder(carried, oldTags) || carried.size() + droppedTags != oldTags.size() ||
        result.taggedText.size() > 2 * (oldTagged.size() + newText.size()) + 16)
        std::abort();
    return 0;
}
