#pragma once

#include <QString>
#include <QStringView>

namespace kovrant {

// A TimeTag is exactly "[" mm ":" ss ":" cc "]" with two ASCII digits per field; the fields'
// ranges are not checked ("[00:75:00]" is a tag).
inline constexpr qsizetype TimeTagLength = 10;

// Largest time MsToTimeTag writes: "[99:59:99]".
inline constexpr qint32 MaxTimeTagMs = 5999990;

// True when the TimeTagLength characters of text from pos form a TimeTag. Constant time, and
// inline: Divide asks it at every "[".
inline bool IsTimeTagAt(QStringView text, qsizetype pos)
{
    if (pos < 0 || text.size() - pos < TimeTagLength)
        return false;
    const QChar* c = text.data() + pos;
    const auto digit = [](QChar d) { return unsigned(d.unicode()) - u'0' < 10u; };
    return c[0] == u'[' && digit(c[1]) && digit(c[2]) && c[3] == u':' && digit(c[4]) &&
           digit(c[5]) && c[6] == u':' && digit(c[7]) && digit(c[8]) && c[9] == u']';
}

// (minutes * 60 + seconds) * 1000 + hundredths * 10 for a tag's three fields, or -1 when the
// text is shorter than a tag or a field is not two digits. The separators are not examined.
qint32 TimeTagToMs(QStringView tag);

// The tag for ms, clamped to 0..MaxTimeTagMs; hundredths round half to even and never carry
// into the seconds (995..999 ms give 99).
QString MsToTimeTag(qint32 ms);

// As MsToTimeTag, writing the TimeTagLength characters to out.
void WriteTimeTag(qint32 ms, QChar* out);

} // namespace kovrant
