#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>

namespace kovrant {

// A text written through a pointer, grown only when an append needs more room than is left, so
// that the many short appends of a divide or a format writer check nothing else.
class TextBuilder {
public:
    explicit TextBuilder(qsizetype capacity)
        : m_text(std::max<qsizetype>(capacity, 16), Qt::Uninitialized)
        , m_out(m_text.data())
        , m_end(m_out + m_text.size())
    {}

    // Room for n more characters, to be written from the pointer given and then taken by
    // advance().
    QChar* room(qsizetype n)
    {
        if (m_end - m_out < n)
            grow(n);
        return m_out;
    }
    void advance(QChar* to) { m_out = to; }

    void append(QStringView text)
    {
        QChar* out = room(text.size());
        advance(std::copy_n(text.data(), text.size(), out));
    }

    void append(QChar c)
    {
        QChar* out = room(1);
        *out = c;
        advance(out + 1);
    }

    QString take()
    {
        m_text.truncate(m_out - m_text.constData());
        return std::move(m_text);
    }

private:
    void grow(qsizetype n)
    {
        const qsizetype used = m_out - m_text.constData();
        m_text.resize(std::max(2 * m_text.size(), used + n));
        m_out = m_text.data() + used;
        m_end = m_text.data() + m_text.size();
    }

    QString m_text;
    QChar* m_out;
    QChar* m_end;
};

} // namespace kovrant
