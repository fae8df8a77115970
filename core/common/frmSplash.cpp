#include "frmSplash.h"

#include "Common.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace plax {

SplashPicture::SplashPicture(const QString& title, const QString& subtitle, QSize size)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* titleLabel = new QLabel(title);
    QFont big = titleLabel->font();
    big.setPointSize(big.pointSize() * 2 + 4);
    big.setBold(true);
    titleLabel->setFont(big);
    titleLabel->setAlignment(Qt::AlignCenter);
    auto* inner = new QVBoxLayout(frame);
    inner->addStretch();
    inner->addWidget(titleLabel);
    if (!subtitle.isEmpty()) {
        auto* sub = new QLabel(subtitle);
        sub->setAlignment(Qt::AlignCenter);
        inner->addWidget(sub);
    }
    inner->addStretch();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    resize(size);
}

int frmSplash::holdMs = 2000;

frmSplash::frmSplash()
    : SplashPicture(QStringLiteral("Zelto-PLAX"),
                    QStringLiteral("Time and Attendance\nVersion ") + QApplication::applicationVersion(),
                    QSize(420, 220)) {
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
