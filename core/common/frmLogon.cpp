#include "frmLogon.h"

#include "Common.h"
#include "Connection.h"
#include "ErrorBox.h"
#include "Globals.h"
#include "platform/ui/Dialogs.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace plax {

frmLogon::frmLogon(OkAction ok, QWidget* parent) : QWidget(parent, Qt::Dialog), ok_(std::move(ok)) {
    setObjectName(QStringLiteral("frmLogon"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ui::appTitle() + QStringLiteral(" Logon"));

    lblPassword = new QLabel(QStringLiteral("Password:"));
    txtPassword = new QLineEdit;
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    lblPassword->setBuddy(txtPassword);
    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblPassword, 0, 0);
    grid->addWidget(txtPassword, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 1, 0, 1, 2);
    setMinimumWidth(320);

    txtPassword->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmLogon::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogon::cmdCancel_Click);
    connect(txtPassword, &QLineEdit::returnPressed, this, &frmLogon::cmdOK_Click);

    adjustSize();
    CenterForm(this);
}

bool frmLogon::eventFilter(QObject* watched, QEvent* event) {
    // Entering the box selects what it holds, so that typing replaces it:
    // after "Not a valid password." the password is typed again.
    if (watched == txtPassword && event->type() == QEvent::FocusIn) {
        txtPassword->home(false);
        txtPassword->end(true);
    }
    return QWidget::eventFilter(watched, event);
}

void frmLogon::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString frmLogon::password() const { return txtPassword->text(); }

void frmLogon::cmdOK_Click() {
    if (ok_)
        ok_(*this);
}

void frmLogon::cmdCancel_Click() {
    done_ = true;
    close();
    EndProgram();
}

void frmLogon::accept() {
    done_ = true;
    close();
}

void frmLogon::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!done_) {
        done_ = true;
        EndProgram();
    }
}

frmLogon::OkAction frmLogon::openCompanyDatabase(std::function<void()> next) {
    return [next = std::move(next)](frmLogon& f) {
        const QString typed = f.password();
        try {
            openCompanyDb(typed);
        } catch (const std::exception& e) {
            ShowError(QString(), e);
            f.txtPassword->setFocus();
            f.txtPassword->selectAll();
            return;
        }
        CompanyDbPassword = typed;
        if (next)
            next();
        f.accept();
    };
}

} // namespace plax
