#include "frmSetupCompany.h"

#include "SettingsScreens.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/TypedBoxes.h"
#include "platform/ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace plax::settings {
namespace {

template <typename T> T* named(T* w, const char* name) {
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

QGroupBox* frame(QWidget* parent, const QString& caption, const QString& label, QWidget* field) {
    auto* box = new QGroupBox(caption, parent);
    auto* form = new QFormLayout(box);
    if (label.isEmpty())
        form->addRow(field);
    else
        form->addRow(label, field);
    return box;
}

} // namespace

frmSetupCompany::frmSetupCompany(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmSetupCompany"));
    setWindowTitle(QStringLiteral("Setup: Company"));

    txtCompanyName_ = named(new QLineEdit(this), "txtCompanyName");
    txtCompanyName_->setMaxLength(60);
    txtCompanyName_->setFont(QFont(QStringLiteral("Times New Roman")));
    txtCompanyName_->setMinimumWidth(320);

    txtZeltoDataFile_ = named(new QPlainTextEdit(this), "txtZeltoDataFile");
    txtZeltoDataFile_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtZeltoDataFile_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtZeltoDataFile_->setFixedHeight(txtZeltoDataFile_->fontMetrics().lineSpacing() * 3 + 12);
    // Several lines only to show a long path: Tab moves on as in every other box.
    txtZeltoDataFile_->setTabChangesFocus(true);
    cmdZeltoSourceBrowse_ = named(new QPushButton(QStringLiteral("..."), this), "cmdZeltoSourceBrowse");
    cmdZeltoSourceBrowse_->setFixedWidth(32);
    describeButton(cmdZeltoSourceBrowse_, QStringLiteral("Find the database file"), QStringLiteral("Find Data Source"));

    chkIncludeWages_ = named(new QCheckBox(QStringLiteral("Include Wages"), this), "chkIncludeWages");
    txtRoundTotal_ = named(new QLineEdit(this), "txtRoundTotal");
    cboWorkWeek_ = named(new QComboBox(this), "cboWorkWeek");
    DTPWeekStartTime_ = named(new TimeBox(this), "DTPWeekStartTime");
    txtGraceP_ = named(new QLineEdit(this), "txtGraceP");

    cmdSave_ = named(new QPushButton(this), "cmdSave");
    cmdSave_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    describeButton(cmdSave_, QStringLiteral("Save the company settings"), QStringLiteral("Save"));
    cmdClose_ = named(new QPushButton(this), "cmdClose");
    cmdClose_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    describeButton(cmdClose_, QStringLiteral("Close this window"), QStringLiteral("Close"));

    auto* database = new QGroupBox(QStringLiteral("Database"), this);
    auto* dbLayout = new QGridLayout(database);
    dbLayout->addWidget(new QLabel(QStringLiteral("Location:"), database), 0, 0, Qt::AlignTop);
    dbLayout->addWidget(txtZeltoDataFile_, 0, 1);
    dbLayout->addWidget(cmdZeltoSourceBrowse_, 0, 2, Qt::AlignTop);

    auto* workweek = new QGroupBox(QStringLiteral("Workweek "), this);
    auto* weekLayout = new QFormLayout(workweek);
    weekLayout->addRow(QStringLiteral("Start Day:"), cboWorkWeek_);
    weekLayout->addRow(QStringLiteral("Workday start time:"), DTPWeekStartTime_);

    auto* grid = new QGridLayout;
    grid->addWidget(frame(this, QStringLiteral("Company"), QStringLiteral("Name:"), txtCompanyName_), 0, 0, 1,
                    2);
    grid->addWidget(database, 1, 0, 1, 2);
    grid->addWidget(frame(this, QStringLiteral("Weekly Report"), QString(), chkIncludeWages_), 2, 0);
    grid->addWidget(frame(this, QStringLiteral("Total Time"), QStringLiteral("Round To:"), txtRoundTotal_), 2,
                    1);
    grid->addWidget(workweek, 3, 0);
    grid->addWidget(frame(this, QStringLiteral("Schedule"), QStringLiteral("Grace Period:"), txtGraceP_), 3,
                    1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave_);
    buttons->addWidget(cmdClose_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(buttons);

    connect(cmdZeltoSourceBrowse_, &QPushButton::clicked, this, &frmSetupCompany::cmdZeltoSourceBrowse_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &frmSetupCompany::cmdSave_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &frmSetupCompany::cmdClose_Click);

    Form_Load();
}

void frmSetupCompany::Form_Load() {
    cboWorkWeek_->addItems(weekDayNames());
    tags_ = LoadCompanySetup(Company, CompanyDbPath);
    showState(tags_);
}

void frmSetupCompany::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 0);
    }
}

CompanySetupState frmSetupCompany::state() const {
    CompanySetupState st = tags_;
    st.companyName = txtCompanyName_->text();
    // The box wraps long paths; a line break, tab or blank at either end
    // pasted into it is no part of a path.
    st.dataFile = cleanDatabaseLocation(txtZeltoDataFile_->toPlainText());
    st.includeWages = chkIncludeWages_->isChecked() ? 1 : 0;
    st.roundTotal = txtRoundTotal_->text();
    st.workWeekIndex = cboWorkWeek_->currentIndex();
    st.dayStart = DTPWeekStartTime_->time();
    st.graceP = txtGraceP_->text();
    return st;
}

void frmSetupCompany::showState(const CompanySetupState& st) {
    txtCompanyName_->setText(st.companyName);
    txtZeltoDataFile_->setPlainText(st.dataFile);
    chkIncludeWages_->setChecked(st.includeWages != 0);
    txtRoundTotal_->setText(st.roundTotal);
    cboWorkWeek_->setCurrentIndex(st.workWeekIndex);
    DTPWeekStartTime_->setTime(st.dayStart);
    txtGraceP_->setText(st.graceP);
}

void frmSetupCompany::cmdZeltoSourceBrowse_Click() {
    const QString path = ShowOpenDialog(AppPath, QStringLiteral("Find Data Source"), 3);
    if (!path.isEmpty())
        txtZeltoDataFile_->setPlainText(path);
}

void frmSetupCompany::cmdSave_Click() {
    CompanySetupState st = state();
    if (!st.anyChanged())
        return;
    db::Database* db = nullptr;
    try {
        db = &companyDb();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        return;
    }
    CompanySetupHooks hooks;
    hooks.setMainCaption = [](const QString& caption) {
        if (QMdiArea* area = mdiArea())
            area->window()->setWindowTitle(caption);
    };
    hooks.progress = recomputeProgress(this, windowTitle());
    SaveCompanySetup(*db, Company, st, hooks);
    tags_ = st;
    // A cancelled or failed week start day change brings the stored day back.
    cboWorkWeek_->setCurrentIndex(st.workWeekIndex);
}

void frmSetupCompany::cmdClose_Click() {
    closeForm(this);
}

void frmSetupCompany::closeEvent(QCloseEvent* event) {
    // Every way of closing (Close, the window's close box, the main window
    // ending) offers to save what changed.
    if (state().anyChanged() && ui::MsgBox(QStringLiteral("Would you like to save the changes?"),
                                           ui::Buttons::YesNo, ui::Icon::Question) == ui::Answer::Yes)
        cmdSave_Click();
    QWidget::closeEvent(event);
}

} // namespace plax::settings
