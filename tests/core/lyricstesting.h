#pragma once

// What the format tests share: a reader checked against a row, and the generated lyrics.
#include "core/timing.h"
#include "lyricsgenerator.h"

#include <QtTest>

namespace kovrant::testing {

inline QString Lf(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s);
}

// The model of time-tagged lyrics that a test takes as read.
inline TimingModel Model(const QString& tags)
{
    TimingModel model;
    ResultCode code = ResultCode::Ok;
    if (!ReadTimeTaggedLyrics(tags, 0, model, code))
        qFatal("test lyrics that do not read");
    return model;
}

// Reads the row's "text" and compares with its "code" and, on success, its "tags": the model
// written as time-tagged lyrics with LF; a failure leaves the model as it was.
inline void CheckRead(bool (*read)(QStringView, TimingModel&, ResultCode&))
{
    QFETCH(QString, text);
    QFETCH(ResultCode, code);
    TimingModel model;
    model.attributes << u"untouched"_s;
    ResultCode got = ResultCode::Ok;
    QCOMPARE(read(text, model, got), code == ResultCode::Ok);
    QCOMPARE(got, code);
    if (code == ResultCode::Ok)
        QTEST(Lf(WriteTimeTaggedLyrics(model)), "tags");
    else
        QCOMPARE(model.attributes, QStringList{u"untouched"_s});
}

} // namespace kovrant::testing
