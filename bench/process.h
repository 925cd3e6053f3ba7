#pragma once

// Runs a program of the benchmarks as a child process and measures it from outside.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <vector>

extern char** environ;

namespace kovrant::bench {

using Args = std::vector<std::string>;

struct Measurement {
    double wall = -1; // seconds; negative when the program could not run or failed
    double cpu = 0;   // user and system seconds
    long peakKilobytes = 0;
};

inline double Now()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Runs args in folder with stdin and stdout on /dev/null and stderr into errors.
inline Measurement Run(const Args& args, const QString& folder, const QString& errors)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, QFile::encodeName(folder).constData());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray errorsName = QFile::encodeName(errors);
    posix_spawn_file_actions_addopen(&actions, 2, errorsName.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    Measurement m;
    const double start = Now();
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "cannot run %s\n", args[0].c_str());
        return m;
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double wall = Now() - start;
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    m.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    m.peakKilobytes = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        QFile log(errors);
        log.open(QIODevice::ReadOnly);
        std::fprintf(stderr, "%s failed (status %d): %s\n", args[0].c_str(), status,
                     log.readLine().trimmed().constData());
        return m;
    }
    m.wall = wall;
    return m;
}

} // namespace kovrant::bench
