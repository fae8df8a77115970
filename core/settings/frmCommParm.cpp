#include "frmCommParm.h"

#include "SettingsScreens.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "platform/serial/PortMap.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace plax::settings {
namespace {

QComboBox* dropList(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    return c;
}

// Selects the item with this text, or nothing when there is none.
void selectText(QComboBox* c, const QString& text) {
    c->setCurrentIndex(text.isEmpty() ? -1 : c->findText(text));
}

// Selects `index` when the list has it, else nothing.
void selectIndex(QComboBox* c, int index) {
    c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}

} // namespace

frmCommParm::frmCommParm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmCommParm"));
    setWindowTitle(QStringLiteral("Clock Configuration"));

    auto* entry = new QGroupBox(QStringLiteral("Entry Type"), this);
    auto* entryLayout = new QVBoxLayout(entry);
    optClkType_ = new QButtonGroup(this);
    const char* captions[] = {"Keyboard", "MSR 100", "RS 2000"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(captions[i]), entry);
        b->setObjectName(QStringLiteral("optClkType%1").arg(i));
        optClkType_->addButton(b, i);
        entryLayout->addWidget(b);
    }

    auto* comm = new QGroupBox(QStringLiteral("Communication Parameters"), this);
    cboPort_ = dropList(comm, "cboPort");
    cboSpeed_ = dropList(comm, "cboSpeed");
    cboDataBits_ = dropList(comm, "cboDataBits");
    cboParity_ = dropList(comm, "cboParity");
    cboStopBits_ = dropList(comm, "cboStopBits");
    cboMachineSpeed_ = dropList(comm, "cboMachineSpeed");
    mskPollingDelay_ = new QLineEdit(comm);
    mskPollingDelay_->setObjectName(QStringLiteral("mskPollingDelay"));
    mskPollingDelay_->setInputMask(QStringLiteral("9999;_"));
    mskPollingDelay_->setMaximumWidth(60);
    auto* commLayout = new QGridLayout(comm);
    const std::pair<const char*, QWidget*> rows[] = {
        {"Port:", cboPort_},     {"Baud Rate:", cboSpeed_},    {"Data Bits:", cboDataBits_},
        {"Parity:", cboParity_}, {"Stop Bits:", cboStopBits_}, {"Speed:", cboMachineSpeed_}};
    int row = 0;
    for (const auto& [label, field] : rows) {
        commLayout->addWidget(new QLabel(QString::fromUtf8(label), comm), row, 0);
        commLayout->addWidget(field, row++, 1, 1, 2);
    }
    commLayout->addWidget(new QLabel(QStringLiteral("Delay:"), comm), row, 0);
    commLayout->addWidget(mskPollingDelay_, row, 1);
    commLayout->addWidget(new QLabel(QStringLiteral("ms"), comm), row, 2);

    auto* preference = new QGroupBox(QStringLiteral("Preference"), this);
    chkInOutLst_ = new QCheckBox(QStringLiteral("Show Who's In/Out List"), preference);
    chkInOutLst_->setObjectName(QStringLiteral("chkInOutLst"));
    (new QVBoxLayout(preference))->addWidget(chkInOutLst_);

    cmdSave_ = new QPushButton(this);
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));
    cmdSave_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    describeButton(cmdSave_, QStringLiteral("Save the clock settings"), QStringLiteral("Save"));
    cmdClose_ = new QPushButton(this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    cmdClose_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    describeButton(cmdClose_, QStringLiteral("Close this window without saving"), QStringLiteral("Close"));

    auto* left = new QVBoxLayout;
    left->addWidget(entry);
    left->addWidget(preference);
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(comm);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave_);
    buttons->addWidget(cmdClose_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(buttons);

    connect(optClkType_, &QButtonGroup::idClicked, this, &frmCommParm::optClkType_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &frmCommParm::cmdSave_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &frmCommParm::cmdClose_Click);

    Form_Load();
}

void frmCommParm::Form_Load() {
    LoadClockSettings();
    LoadPropertySettings();
}

void frmCommParm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 200);
    }
}

void frmCommParm::LoadClockSettings() {
    try {
        settings::LoadClockSettings(companyDb(), stored_, Company);
    } catch (const std::exception& e) {
        ShowError(QString(), e); // no open database: the defaults are shown
    }
    entryType_ = Company.TheClock;
}

void frmCommParm::LoadPropertySettings() {
    if (QAbstractButton* b = optClkType_->button(Company.TheClock))
        b->setChecked(true);
    chkInOutLst_->setChecked(Company.InOutList);
    EnableCommCtr(Company.TheClock != 0);

    // The port items; each one's tooltip names the device the port stands for.
    const QStringList ports = portItems();
    for (int i = 0; i < ports.size(); ++i) {
        cboPort_->addItem(ports.at(i));
        cboPort_->setItemData(i, serial::deviceForPort(i + 1), Qt::ToolTipRole);
    }
    selectIndex(cboPort_, stored_.commPort - 1);

    cboSpeed_->addItems(speedItems());
    cboDataBits_->addItems(dataBitsItems());
    cboParity_->addItems(parityItems());
    cboStopBits_->addItems(stopBitsItems());
    const LineChoice line = SplitSettingsText(stored_.settings);
    selectText(cboSpeed_, line.speed);
    selectText(cboParity_, line.parity);
    selectText(cboDataBits_, line.dataBits);
    selectText(cboStopBits_, line.stopBits);

    cboMachineSpeed_->addItems(machineSpeedItems());
    selectIndex(cboMachineSpeed_, stored_.machineSpeed - 1);
    mskPollingDelay_->setText(QStringLiteral("%1").arg(stored_.pollDelay, 4, 10, QLatin1Char('0')).right(4));
}

void frmCommParm::optClkType_Click(int index) {
    entryType_ = index;
    EnableCommCtr(index != 0);
}

void frmCommParm::EnableCommCtr(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{cboPort_, cboSpeed_, cboDataBits_, cboParity_,
                                                      cboStopBits_, mskPollingDelay_, cboMachineSpeed_})
        w->setEnabled(enabled);
}

CommChoice frmCommParm::choice() const {
    CommChoice c;
    c.portIndex = cboPort_->currentIndex();
    c.line.speed = cboSpeed_->currentText();
    c.line.parity = cboParity_->currentText();
    c.line.dataBits = cboDataBits_->currentText();
    c.line.stopBits = cboStopBits_->currentText();
    c.pollDelayText = mskPollingDelay_->text();
    c.machineSpeedIndex = cboMachineSpeed_->currentIndex();
    c.entryType = entryType_;
    c.inOutList = chkInOutLst_->isChecked();
    return c;
}

void frmCommParm::cmdSave_Click() {
    try {
        SaveClockSettings(companyDb(), stored_, Company, choice());
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmCommParm::cmdClose_Click() {
    closeForm(this);
}

} // namespace plax::settings
