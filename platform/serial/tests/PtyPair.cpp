#include "PtyPair.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace plax::test {

PtyPair::PtyPair() { plugIn(); }

bool PtyPair::plugIn() {
    end();
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    return true;
}

PtyPair::~PtyPair() { end(); }

void PtyPair::end() {
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

void PtyPair::send(const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(master_, p, size_t(left));
        if (n <= 0)
            return;
        p += n;
        left -= n;
    }
}

} // namespace plax::test
