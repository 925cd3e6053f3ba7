#pragma once

#include "core/resultcode.h"
#include "core/textencoding.h"

#include <QList>
#include <QString>

#include <optional>

namespace kovrant {

// What a run of the window did, for a batch's summary details and the status line.
struct BatchReport {
    struct Failure {
        QString path;
        std::optional<ResultCode> code{}; // none: the user kept the file that was there
    };
    struct Output {
        QString path;
        TextEncoding encoding;
    };
    qsizetype files = 0;  // the files the batch processed
    qsizetype errors = 0; // of them, those that failed with an error
    QList<Failure> failures{};
    QList<Output> written{};
};

} // namespace kovrant
