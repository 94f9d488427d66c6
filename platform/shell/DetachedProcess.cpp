#include "platform/shell/DetachedProcess.h"

#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"

#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

QString executablePath(const QString& program)
{
    if (program.contains(u'/'))
        return NativeFile::isFile(program) ? program : QString();
    return QStandardPaths::findExecutable(program);
}

} // namespace

namespace DetachedProcess {

bool Start(const QString& program, const QStringList& arguments)
{
    const QString path = executablePath(program);
    if (path.isEmpty())
        return false;
    // Everything the children need is made before forking: after it only system calls follow.
    std::vector<QByteArray> bytes{NativeName::toBytes(path)};
    for (const QString& argument : arguments)
        bytes.push_back(NativeName::toBytes(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        // The grandchild runs the program, owned by no one here; an exec failure is reported.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild <= 0) {
            if (grandchild == 0)
                ::execve(argv[0], argv.data(), environ);
            const int error = errno;
            [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int error = 0;
    ssize_t got = -1;
    do
        got = child > 0 ? ::read(report[0], &error, sizeof error) : -1;
    while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    return child > 0 && got == 0;
}

} // namespace DetachedProcess
