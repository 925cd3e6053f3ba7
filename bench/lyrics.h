#pragma once

// Realistic time-tagged lyrics for the benchmarks, the same for every run of a seed.
#include "core/timetag.h"

#include <QString>

#include <cstdint>
#include <random>

namespace kovrant::bench {

using namespace Qt::StringLiterals;

inline QString Tag(std::mt19937& random, qint32& ms)
{
    ms = (ms + std::uniform_int_distribution<qint32>(80, 400)(random)) % MaxTimeTagMs;
    return MsToTimeTag(ms);
}

// Lyrics as people tag them: every character timed, some words as groups, lines of lineLength
// characters or a few more, an empty line between verses, attributes at the top. About bytes
// long in code page 932.
inline QString Lyrics(qsizetype bytes, int lineLength, std::uint32_t seed)
{
    static const QString Kana = u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみ"
                                u"むめもやゆよらりるれろわをん"
                                u"アイウエオカキクケコ恋愛夢空星光風花雪月心涙声歌愛"_s;
    std::mt19937 random(seed);
    QString text = u"@Title=恋の歌\r\n@Artist=Kovrant\r\n@TimeRatio=1\r\n"_s;
    qint32 ms = 0;
    qsizetype estimate = 0;
    int charactersInLine = 0;
    int linesInVerse = 0;
    while (estimate < bytes) {
        text += Tag(random, ms);
        const int word = std::uniform_int_distribution<int>(1, 3)(random);
        for (int i = 0; i < word; ++i)
            text += Kana[std::uniform_int_distribution<qsizetype>(0, Kana.size() - 1)(random)];
        estimate += 10 + 2 * word;
        charactersInLine += word;
        if (charactersInLine >= lineLength) {
            text += Tag(random, ms) + u"\r\n"_s;
            estimate += 12;
            charactersInLine = 0;
            if (++linesInVerse == 4) {
                text += u"\r\n"_s;
                estimate += 2;
                linesInVerse = 0;
            }
        }
    }
    return text;
}

} // namespace kovrant::bench
