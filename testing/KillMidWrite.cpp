#include "KillMidWrite.h"

#include <QFile>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace plax::test {
namespace {

// Bytes the process has handed to write calls so far; -1 when it is gone.
qint64 bytesWritten(qint64 pid) {
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

bool killMidWrite(const QString& program, const QStringList& args, qint64 bytes, QString* why) {
    const auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(program, args);
    if (!child.waitForStarted(-1))
        return fail(QStringLiteral("%1 did not start: %2").arg(program, child.errorString()));
    const qint64 pid = child.processId();
    qint64 written = 0;
    while (!child.waitForFinished(0)) {
        written = bytesWritten(pid);
        if (written >= bytes)
            break;
        QThread::usleep(200);
    }
    const bool killed = written >= bytes && ::kill(pid_t(pid), SIGKILL) == 0;
    child.waitForFinished(-1);
    if (!killed || child.exitStatus() != QProcess::CrashExit)
        return fail(QStringLiteral("%1 ended after writing %2 bytes, before it was killed (exit code %3)")
                        .arg(program)
                        .arg(written)
                        .arg(child.exitCode()));
    return true;
}

} // namespace plax::test
