#include "frmAbout.h"

#include "ToolbarIcons.h"

#include "core/common/Common.h"
#include "platform/ui/Dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace plax {

QString frmAbout::versionText() {
    return QStringLiteral("Version %1.%2.%3").arg(PLAX_VERSION_MAJOR).arg(PLAX_VERSION_MINOR).arg(PLAX_VERSION_PATCH);
}

frmAbout::frmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + ui::appTitle());

    auto* picture = new QLabel;
    picture->setPixmap(toolbarIcon(QStringLiteral("Weekly")).pixmap(48, 48));
    lblTitle = new QLabel(ui::appTitle());
    QFont big = lblTitle->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(versionText());
    lblDisclaimer = new QLabel(QStringLiteral(PLAX_LEGAL_NOTICE));
    lblDisclaimer->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* g = new QGridLayout(this);
    g->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    g->addWidget(lblTitle, 0, 1);
    g->addWidget(lblVersion, 1, 1, Qt::AlignTop);
    g->setColumnStretch(1, 1);
    g->addWidget(lblDisclaimer, 2, 0, 1, 2);
    // Spare height goes below the texts, above the button.
    g->setRowStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    g->addLayout(buttons, 4, 0, 1, 2);
    resize(380, 200);

    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
}

void frmAbout::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CenterForm(this);
    }
}

} // namespace plax
