#pragma once
// A pseudo-terminal pair standing in for a badge reader on a serial line:
// the port opens slavePath(); the test writes the reader's bytes to the
// master side.

#include <QByteArray>
#include <QString>

namespace plax::test {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    const QString& slavePath() const { return slavePath_; }
    // Writes everything to the master side (what the reader sends).
    void send(const QByteArray& bytes);
    // Ends the pair, as a reader's adapter pulled out of the computer.
    void end();
    // A new pair in place of the ended one, as the adapter plugged back in:
    // its slave has a path of its own (a test points a link at it).
    bool plugIn();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

} // namespace plax::test
