#pragma once
// Ending a child process the hard way (kill -9) while it writes: the test
// starts the program, waits until it has written a given number of bytes
// (its write calls, as the system counts them) and kills it there.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace plax::test {

// Starts `program`, waits until it has written `bytes` bytes and kills it
// with SIGKILL. False, with the reason in `why`, when it did not start or
// ended before it was killed (nothing was tested then).
bool killMidWrite(const QString& program, const QStringList& args, qint64 bytes, QString* why = nullptr);

} // namespace plax::test
