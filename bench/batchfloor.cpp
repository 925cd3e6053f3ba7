// The floor of the batch benchmark: the input and output that a batch divide or combine cannot
// do without, done the safe way and nothing else.
//
//   kovrant-batch-floor divide FILE...       X.LRC is read whole, its bytes go to X.TXT and X.TTD
//   kovrant-batch-floor combine EXT FILE...  X.TTD and X.TXT are read whole, their bytes go to
//   X.EXT
//
// Each output is written to a new file in the same folder, flushed to disk and renamed into
// place without replacing anything. Exit status 1 when any file failed.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ReadWhole(const std::string& path, std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0;
    if (ok) {
        bytes.resize(std::size_t(info.st_size));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            done += ok ? std::size_t(n) : 0;
        }
    }
    ::close(fd);
    return ok;
}

bool WriteSafely(const std::string& path, const std::string& bytes)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    static const std::string process = std::to_string(::getpid());
    static unsigned counter = 0;
    const std::string temporary = folder + ".floor-" + process + '-' + std::to_string(counter++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? std::size_t(n) : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok &&
         ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

// path less its extension: "a/b.LRC" gives "a/b".
std::string Base(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash)
               ? path
               : path.substr(0, dot);
}

} // namespace

int main(int argc, char* argv[])
{
    const bool divide = argc > 1 && std::strcmp(argv[1], "divide") == 0;
    const bool combine = argc > 2 && std::strcmp(argv[1], "combine") == 0;
    if (!divide && !combine) {
        std::fprintf(stderr, "usage: kovrant-batch-floor divide FILE... | combine EXT FILE...\n");
        return 2;
    }
    int failed = 0;
    std::string bytes, source;
    for (int i = divide ? 2 : 3; i < argc; ++i) {
        const std::string base = Base(argv[i]);
        bool ok = ReadWhole(argv[i], bytes);
        if (divide)
            ok = ok && WriteSafely(base + ".TXT", bytes) && WriteSafely(base + ".TTD", bytes);
        else
            ok = ok && ReadWhole(base + ".TXT", source) &&
                 WriteSafely(base + '.' + argv[2], bytes + source);
        if (!ok) {
            std::fprintf(stderr, "%s: %s\n", argv[i], std::strerror(errno));
            failed = 1;
        }
    }
    return failed;
}
