#include "frmClock.h"

#include "Connection.h"
#include "ReaderFrames.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "platform/serial/SerialPort.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace plax::clk {

namespace {
frmClock* g_instance = nullptr;
int g_holdMs = 2000;
bool g_portReopen = false;
} // namespace

frmClock* frmClock::instance() { return g_instance; }
void frmClock::setMessageHoldMs(int ms) { g_holdMs = ms; }
int frmClock::messageHoldMs() { return g_holdMs; }
bool& PortReopen() { return g_portReopen; }

int frmClock::twipsToPixels(int twips) {
    const QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return int(twips * dpi / 1440.0 + 0.5);
}

frmClock::frmClock(QWidget* parent) : QMainWindow(parent) {
    g_instance = this;
    setObjectName(QStringLiteral("frmClock"));
    buildLayout();

    timer1_ = new QTimer(this);
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &frmClock::Timer1_Timer);

    pollTimer_ = new QTimer(this);
    pollTimer_->setSingleShot(true);
    connect(pollTimer_, &QTimer::timeout, this, &frmClock::pollPass);

    keptTimer_ = new QTimer(this);
    keptTimer_->setInterval(kKeptRetryMs);
    connect(keptTimer_, &QTimer::timeout, this, [this] { writeKept(kKeptWaitMs); });

    reopenTimer_ = new QTimer(this);
    reopenTimer_->setInterval(kReopenRetryMs);
    connect(reopenTimer_, &QTimer::timeout, this, &frmClock::reopenPort);

    MSComm1_ = new serial::SerialPort(this);
    connect(MSComm1_, &serial::SerialPort::OnComm, this, &frmClock::MSComm1_OnComm);

    // The activation work runs again when the terminal comes back from
    // another program, not when one of its own boxes closes.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            activationPending_ = true;
    });
}

frmClock::~frmClock() {
    if (g_instance == this)
        g_instance = nullptr;
}

void frmClock::buildLayout() {
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    // Compact: without the list the window is only 3225 twips high.
    v->setContentsMargins(8, 6, 8, 4);
    v->setSpacing(4);

    lblPrompt_ = new QLabel(QStringLiteral("Enter or Scan ID#:"), central);
    QFont big = lblPrompt_->font();
    big.setPointSize(14);
    big.setBold(true);
    lblPrompt_->setFont(big);
    txtID_ = new QLineEdit(central);
    txtID_->setObjectName(QStringLiteral("txtID"));
    txtID_->setFont(big);
    txtID_->installEventFilter(this);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(lblPrompt_);
    idRow->addWidget(txtID_, 1);
    v->addLayout(idRow);

    fraMessage_ = new QGroupBox(QStringLiteral("Message"), central);
    auto* mv = new QVBoxLayout(fraMessage_);
    mv->setContentsMargins(6, 2, 6, 4);
    lblMsg_ = new QLabel(fraMessage_);
    lblMsg_->setObjectName(QStringLiteral("lblMsg"));
    lblMsg_->setAlignment(Qt::AlignCenter);
    lblMsg_->setWordWrap(true);
    lblMsg_->setMinimumHeight(44);
    QFont msgFont = lblMsg_->font();
    msgFont.setPointSize(12);
    msgFont.setBold(true);
    lblMsg_->setFont(msgFont);
    mv->addWidget(lblMsg_);
    v->addWidget(fraMessage_);

    lstLog_ = new QListWidget(central);
    lstLog_->setObjectName(QStringLiteral("lstLog"));
    lstLog_->setFocusPolicy(Qt::NoFocus);
    v->addWidget(lstLog_, 1);
    setCentralWidget(central);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("sbrStatus"));
    bar->setSizeGripEnabled(false);
    auto panel = [bar](const char* key, int stretch) {
        auto* l = new QLabel(bar);
        l->setObjectName(QLatin1String(key));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(l, stretch);
        return l;
    };
    panelDate_ = panel("Date", 0);
    panelTime_ = panel("Time", 0);
    panelStatus_ = panel("Status", 1);
    panelDate_->setMinimumWidth(150);
    panelTime_->setMinimumWidth(80);
    setStatusBar(bar);

    resize(520, twipsToPixels(6600));
}

QString frmClock::panelText(const QString& key) const {
    if (key == QLatin1String("Date"))
        return panelDate_->text();
    if (key == QLatin1String("Time"))
        return panelTime_->text();
    if (key == QLatin1String("Status"))
        return panelStatus_->text();
    return {};
}

void frmClock::setPanelText(const QString& key, const QString& text) {
    if (key == QLatin1String("Date"))
        panelDate_->setText(text);
    else if (key == QLatin1String("Time"))
        panelTime_->setText(text);
    else if (key == QLatin1String("Status"))
        panelStatus_->setText(text);
}

db::Database& frmClock::database() {
    db::Database& db = terminalDb([this] { employeeQuery_.reset(); });
    if (!employeeQuery_ || queryGeneration_ != connectionGeneration()) {
        employeeQuery_ = std::make_unique<EmployeeQuery>(db);
        queryGeneration_ = connectionGeneration();
    }
    return db;
}

void frmClock::applyCaption() {
    setWindowTitle(settings_.company.CompanyName + QStringLiteral(" --- Zelto-PLAX Clock"));
}

void frmClock::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!loaded_)
        Form_Load();
}

void frmClock::Form_Load() {
    loaded_ = true;
    CenterForm(this);
    applyCaption();
    showDate();
    txtID_->setFocus();
    // The rest once the window is up, so that an error box shows over it.
    // The first activation follows the load even where the window system
    // gives the new window no focus (a kiosk without a window manager).
    QTimer::singleShot(0, this, [this] {
        if (unloaded_)
            return;
        try {
            database(); // creates the employee query
        } catch (const std::exception& e) {
            ShowError(QString(), e);
        }
        activateWindow();
        if (activationPending_ && !unloaded_) {
            activationPending_ = false;
            Form_Activate();
        }
    });
}

bool frmClock::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && loaded_ && activationPending_ && !unloaded_) {
        activationPending_ = false;
        const bool r = QMainWindow::event(e);
        Form_Activate();
        return r;
    }
    return QMainWindow::event(e);
}

void frmClock::Form_Activate() {
    ++activations_;
    try {
        LoadTerminalSettings(database(), settings_);
    } catch (const std::exception& e) {
        connectionFailed(e);
        ShowError(QString(), e);
    }
    // The caption named the company before its settings were read.
    applyCaption();
    if (!settings_.company.InOutList) {
        lstLog_->hide();
        resize(width(), twipsToPixels(3225));
    }
    if (settings_.TheClock == 0)
        return;
    stopPolling_ = false;
    try {
        LoadCommSettings(database(), comm_);
    } catch (const std::exception& e) {
        connectionFailed(e);
        ShowError(QString(), e);
    }
    SetPortParams(*MSComm1_);
    if (settings_.TheClock == 1)
        PollMSR100Reader();
    else if (settings_.TheClock == 2)
        PollRS2000Reader();
}

void frmClock::closeEvent(QCloseEvent* e) {
    // Punches kept for a busy database would be lost: one more try, then ask.
    if (!unloaded_ && !writeKept(kKeptWaitMs) &&
        ui::MsgBox(keptOnCloseText(kept_), ui::Buttons::YesNo, ui::Icon::Exclamation) != ui::Answer::Yes) {
        e->ignore();
        return;
    }
    Form_Unload();
    e->accept();
}

void frmClock::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    stopPolling_ = true;
    pollTimer_->stop();
    keptTimer_->stop();
    reopenTimer_->stop();
    pollingReader_ = Reader::None;
    ClosePort(*MSComm1_);
    timer1_->stop();
    employeeQuery_.reset();
    if (CompanyDb && CompanyDb->isOpen())
        CompanyDb->close();
    EndProgram();
}

void frmClock::showDate() {
    setPanelText(QStringLiteral("Date"), Clock::today().format(QStringLiteral("ddd, MMM dd, yyyy ")));
}

void frmClock::Timer1_Timer() {
    setPanelText(QStringLiteral("Time"), Clock::now().toString(QStringLiteral("hh:mm:ss")));
    showDate(); // the terminal runs for months: the date must not stay that of the start
}

bool frmClock::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtID_ && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtID_KeyPress(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void frmClock::txtID_KeyPress(int keyAscii) {
    if (keyAscii == 13)
        runPunchRoad();
}

void frmClock::LookupEmployee() {
    current_ = employeeQuery_->lookup(txtID_->text());
}

void frmClock::runPunchRoad() {
    // One moment for the whole punch: the schedule test and the record
    // agree on the minute. A badge read keeps the minute of its swipe, also
    // when it waited behind other swipes or for the database. Seconds never
    // reach the database.
    const std::optional<DateTimeMin> swiped = std::exchange(swipedAt_, std::nullopt);
    const DateTimeMin now = swiped.value_or(Clock::nowMinute());
    showDate();
    // Kept punches go first: a later punch never overtakes them. A swipe
    // behind them takes only what the database answers at once.
    const bool behindKept = swiped && !writeKept(kKeptWaitMs);
    // A swipe the database cannot answer for a lock held beyond the busy
    // timeout is kept: nobody stands at a reader to press OK.
    const auto keptFor = [&](const std::exception& e, bool checked) {
        if (!swiped || errorNumberOf(e) != db::err::Locked)
            return false;
        keep({checked ? current_ : CurrentEmployee{txtID_->text(), {}, {}, {}}, now, checked});
        return true;
    };
    // An error box leaves the ID in the box, so Enter can be pressed again.
    // A badge swiped while the box is up for a typed ID is punched in
    // between (pollPass), and the typed ID comes back afterwards.
    const auto errorBox = [&](const auto& show) {
        if (swiped)
            return show();
        const QPointer<frmClock> self(this);
        heldTypedId_ = txtID_->text();
        show();
        if (self)
            heldTypedId_.reset();
    };
    db::Database* db = nullptr;
    std::optional<BusyTimeout> atOnce;
    try {
        db = &database();
        if (behindKept)
            atOnce.emplace(*db, kKeptWaitMs);
        LookupEmployee();
    } catch (const std::exception& e) {
        connectionFailed(e);
        current_ = {};
        if (!keptFor(e, false))
            errorBox([&] { ShowError(QString(), e); });
        return;
    }
    if (!current_.found()) {
        ui::Beep();
        ShowMessage(invalidIdText());
        return;
    }
    bool scheduled = false;
    try {
        scheduled = mayPunchAt(*db, current_, settings_.company.GraceP, now);
    } catch (const std::exception& e) {
        connectionFailed(e);
        if (!keptFor(e, false))
            errorBox([&] { ShowError(QString(), e); });
        return;
    }
    if (!scheduled) {
        ui::Beep();
        ShowMessage(notScheduledText(current_));
        return;
    }
    atOnce.reset();
    if (behindKept)
        return keep({current_, now});
    // A typed ID gets the error box while kept punches still wait.
    int r = punch::Error;
    try {
        if (writeKept(db->busyTimeout()))
            r = recordPunchOrThrow(*db, settings_.company, now.date, now.time, current_.EmpID);
    } catch (const std::exception& e) {
        connectionFailed(e);
        if (keptFor(e, true))
            return;
    }
    if (r == punch::Error) {
        errorBox([&] { ShowError(QString(), punchErrorText()); });
        return;
    }
    addLogLine(logLine(r, current_, now.date, now.time));
    ShowMessage(resultText(r, current_));
}

void frmClock::keep(const KeptPunch& p) {
    kept_.keep(p);
    keptTimer_->start();
    ShowMessage(keptText(p));
}

bool frmClock::writeKept(int busyWaitMs) {
    if (kept_.empty())
        return true;
    try {
        const auto failed = [](const std::exception& e) { connectionFailed(e); };
        for (const KeptPunches::Done& d : kept_.write(database(), settings_.company, busyWaitMs, failed)) {
            const KeptPunch& p = d.punch;
            addLogLine(d.result == punch::Error ? notRecordedLine(p, d.error)
                                                : logLine(d.result, p.employee, p.at.date, p.at.time));
        }
    } catch (const std::exception& e) {
        connectionFailed(e); // the file out of reach: they wait
    }
    if (kept_.empty())
        keptTimer_->stop();
    return kept_.empty();
}

void frmClock::addLogLine(const QString& line) {
    if (line.isEmpty())
        return;
    lstLog_->addItem(line);
    // The newest punch stays in view however long the run.
    lstLog_->scrollToBottom();
}

void frmClock::ShowMessage(const QString& text) {
    lastMessage_ = text;
    lblMsg_->setText(text);
    lblMsg_->repaint();
    // The panel holds without handling other events; keys typed meanwhile
    // are handled afterwards. Elapsed time, so midnight does not matter.
    QElapsedTimer held;
    held.start();
    while (held.elapsed() < g_holdMs)
        QThread::msleep(std::min<qint64>(20, g_holdMs - held.elapsed()));
    lblMsg_->clear();
    txtID_->clear();
}

} // namespace plax::clk
