#include "core/timetag.h"

#include "core/lines.h"

namespace kovrant {

namespace {

qint32 TwoDigits(QStringView text, qsizetype pos)
{
    if (!IsAsciiDigit(text[pos]) || !IsAsciiDigit(text[pos + 1]))
        return -1;
    return (text[pos].unicode() - u'0') * 10 + (text[pos + 1].unicode() - u'0');
}

void WriteTwoDigits(int value, QChar* out)
{
    out[0] = QChar(u'0' + value / 10);
    out[1] = QChar(u'0' + value % 10);
}

} // namespace

qint32 TimeTagToMs(QStringView tag)
{
    if (tag.size() < TimeTagLength)
        return -1;
    const qint32 minutes = TwoDigits(tag, 1);
    const qint32 seconds = TwoDigits(tag, 4);
    const qint32 hundredths = TwoDigits(tag, 7);
    if (minutes < 0 || seconds < 0 || hundredths < 0)
        return -1;
    return (minutes * 60 + seconds) * 1000 + hundredths * 10;
}

void WriteTimeTag(qint32 ms, QChar* out)
{
    ms = qBound(0, ms, MaxTimeTagMs);
    const int minutes = ms / 60000;
    const int seconds = (ms - minutes * 60000) / 1000;
    const int remainder = ms - minutes * 60000 - seconds * 1000;
    int hundredths = remainder / 10;
    const int tenthOfHundredth = remainder % 10;
    if (tenthOfHundredth > 5 || (tenthOfHundredth == 5 && hundredths % 2 == 1))
        ++hundredths;
    hundredths = qMin(hundredths, 99); // no carry into the seconds
    out[0] = u'[';
    WriteTwoDigits(minutes, out + 1);
    out[3] = u':';
    WriteTwoDigits(seconds, out + 4);
    out[6] = u':';
    WriteTwoDigits(hundredths, out + 7);
    out[9] = u']';
}

QString MsToTimeTag(qint32 ms)
{
    QString tag(TimeTagLength, Qt::Uninitialized);
    WriteTimeTag(ms, tag.data());
    return tag;
}

} // namespace kovrant
