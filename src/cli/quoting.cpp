#include "cli/quoting.h"

#include "files/filenames.h"

namespace kovrant {

namespace {

// The bidirectional controls count, as they show a name's characters in another order.
bool IsControl(char16_t c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
           IsBidiControl(QChar(c));
}

bool NeedsEscape(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return false;
    if (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())
        return false;
    return IsControl(c.unicode()) || c.isSurrogate();
}

QString Escape(char16_t c)
{
    switch (c) {
    case u'\n':
        return QStringLiteral("\\n");
    case u'\r':
        return QStringLiteral("\\r");
    case u'\t':
        return QStringLiteral("\\t");
    case 0x1B:
        return QStringLiteral("\\E");
    default:
        break;
    }
    // A kept byte is written as that byte; any other character by its code.
    if (const int byte = KeptByte(QChar(c)); byte >= 0)
        return QStringLiteral("\\x%1").arg(unsigned(byte), 2, 16, QLatin1Char('0'));
    if (c < 0x100)
        return QStringLiteral("\\x%1").arg(unsigned(c), 2, 16, QLatin1Char('0'));
    return QStringLiteral("\\u%1").arg(unsigned(c), 4, 16, QLatin1Char('0'));
}

} // namespace

QString QuotedName(const QString& name)
{
    bool plain = true;
    for (qsizetype i = 0; i < name.size() && plain; ++i)
        plain = !NeedsEscape(name, i);
    if (plain)
        return name;
    QString quoted = QStringLiteral("$'");
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (NeedsEscape(name, i))
            quoted += Escape(c.unicode());
        else if (c == u'\\' || c == u'\'')
            quoted += u'\\' + QString(c);
        else
            quoted += c;
    }
    return quoted + u'\'';
}

QString OneLineText(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        line += NeedsEscape(text, i) ? Escape(text[i].unicode()) : QString(text[i]);
    return line;
}

} // namespace kovrant
