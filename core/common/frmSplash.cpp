#include "frmSplash.h"

#include "Common.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace plax {

int frmSplash::holdMs = 2000;

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* title = new QLabel(QStringLiteral("Zelto-PLAX"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2 + 4);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    auto* sub = new QLabel(QStringLiteral("Time and Attendance\nVersion ") + QApplication::applicationVersion());
    sub->setAlignment(Qt::AlignCenter);
    auto* inner = new QVBoxLayout(frame);
    inner->addStretch();
    inner->addWidget(title);
    inner->addWidget(sub);
    inner->addStretch();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    resize(420, 220);

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        close();
    });
}

void frmSplash::Form_Load() {
    CenterForm(this);
    show();
    QApplication::processEvents();
    if (holdMs > 0)
        QThread::msleep(static_cast<unsigned long>(holdMs));
}

} // namespace plax
