#pragma once

#include <QString>
#include <QStringView>

namespace kovrant {

// A TimeTag is exactly "[" mm ":" ss ":" cc "]" with two ASCII digits per field; the fields'
// ranges are not checked ("[00:75:00]" is a tag).
inline constexpr qsizetype TimeTagLength = 10;

// Largest time MsToTimeTag writes: "[99:59:99]".
inline constexpr qint32 MaxTimeTagMs = 5999990;

// True when the TimeTagLength characters of text from pos form a TimeTag. Constant time.
bool IsTimeTagAt(QStringView text, qsizetype pos);

// (minutes * 60 + seconds) * 1000 + hundredths * 10 for a tag's three fields, or -1 when the
// text is shorter than a tag or a field is not two digits. The separators are not examined.
qint32 TimeTagToMs(QStringView tag);

// The tag for ms, clamped to 0..MaxTimeTagMs; hundredths round half to even and never carry
// into the seconds (995..999 ms give 99).
QString MsToTimeTag(qint32 ms);

// As MsToTimeTag, writing the TimeTagLength characters to out.
void WriteTimeTag(qint32 ms, QChar* out);

} // namespace kovrant
