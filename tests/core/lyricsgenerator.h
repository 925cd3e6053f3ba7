#pragma once

// Time-tagged lyrics made at random, the same on every run, that every format takes back
// unchanged (ratio 1 or none, groups of at most two tags, a tag at the head of every line with
// text), leaning on what the end rules must tell apart and on text that means something in one
// format or another.
#include "core/timetag.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <random>

namespace kovrant::testing {

using namespace Qt::StringLiterals;

struct LyricsGenerator {
    std::mt19937 random{20261208};

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

    QString lyrics()
    {
        static const QStringList Texts =
            u"あ|恋|a| |{|}|\\|\\N|\\h|<|>|&amp;|-->|[|[00:01.00]|<00:01.00>|[ti:x]|{\\k5}|\u200B|"
            u"NOTE|@A=1"_s.split(u'|');
        QString text = pick(3) == 0 ? u"@TimeRatio=1\r\n"_s : QString();
        if (pick(2) == 0)
            text += u"@Title=恋\r\n@Artist=A\r\n"_s;
        qint32 ms = 10 * pick(1000);
        const auto tag = [&](int step) {
            ms = std::clamp(ms + step, 0, MaxTimeTagMs);
            text += MsToTimeTag(ms);
        };
        const auto step = [&] {
            const int kind = pick(4);
            return kind == 0 ? 0 : kind == 1 ? 2000 : 10 * pick(300);
        };
        for (int line = 1 + pick(8); line > 0; --line) {
            if (line > 1 && pick(6) == 0) {
                text += u"\r\n"_s;
                continue;
            }
            // The new line starts where the last one ended, or before, or after.
            const int back = ms;
            tag(pick(3) == 0 ? 0 : pick(2) == 0 ? -std::min(back, 10 * pick(300)) : step());
            for (int syllable = pick(5); syllable > 0; --syllable) {
                for (int piece = 1 + pick(2); piece > 0; --piece)
                    text += Texts[pick(int(Texts.size()))];
                tag(step());
                if (pick(4) == 0)
                    tag(step());
            }
            if (pick(2) == 0)
                text += Texts[pick(int(Texts.size()))];
            if (pick(2) == 0)
                tag(step());
            text += u"\r\n"_s;
        }
        return text;
    }
};

} // namespace kovrant::testing
