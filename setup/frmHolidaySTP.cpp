#include "frmHolidaySTP.h"
#include "core/common/Settings.h"

#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "core/types/WorkWeek.h"
#include "reports/Reports.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace plax::setup {

frmHolidaySTP::frmHolidaySTP(QWidget* parent)
    : frmGridScreen(QStringLiteral("frmHolidaySTP"), QStringLiteral("Setup: Holiday"),
                    {{"Refresh", "Refresh", "Refresh holidays"},
                     {"Preview", "View", "Preview holidays listing"},
                     {"Print", "Print", "Print holidays listing"},
                     {"Close", "Close", "Close this window"}},
                    {QStringLiteral("- The data you have entered is too long for the field."),
                     QStringLiteral("- The data you have entered does not match the type of the field."),
                     QStringLiteral("- The holiday date cannot be left blank."),
                     QStringLiteral("- A record exists with the same date.")},
                    true, parent) {
    auto* range = new QGroupBox(QStringLiteral("Range"), this);
    cboYear = new QComboBox(range);
    cboYear->setObjectName(QStringLiteral("cboYear"));
    // A year beyond the list can be typed.
    cboYear->setEditable(true);
    cboYear->setInsertPolicy(QComboBox::NoInsert);
    auto* cmdLoad = new QPushButton(QStringLiteral("&Load"), range);
    cmdLoad->setObjectName(QStringLiteral("cmdLoad"));
    auto* row = new QHBoxLayout(range);
    row->addWidget(new QLabel(QStringLiteral("Year:"), range));
    row->addWidget(cboYear);
    row->addWidget(cmdLoad);
    row->addStretch();
    layout_->insertWidget(1, range);
    connect(cmdLoad, &QPushButton::clicked, this, &frmHolidaySTP::cmdLoad_Click);

    load([this] {
        const int thisYear = Clock::today().year();
        for (int y = 1996; y <= thisYear + 1; ++y)
            cboYear->addItem(QString::number(y));
        cboYear->setCurrentIndex(cboYear->findText(QString::number(thisYear)));
        if (cboYear->currentIndex() < 0)
            cboYear->setEditText(QString());
        makeModel(QStringLiteral("Holidays"),
                  {{QStringLiteral("HolidayName"), QStringLiteral("Holiday"), GridColumn::Kind::Text, 2000},
                   {QStringLiteral("TDate"), QStringLiteral("Date"), GridColumn::Kind::Date, 800},
                   {QStringLiteral("Week"), QStringLiteral("Week"), GridColumn::Kind::Number, 0, false, true}});
        // TDBGrid1_AfterColUpdate: the week follows the date.
        model_->afterColUpdate = [this](int row, int column) {
            if (column != 1)
                return;
            if (const auto d = model_->value(row, 1).toDate())
                model_->setPending(row, 2, WeekNumber(*d, Company));
        };
        LoadGridData();
        SetGridColumns();
    });
}

void frmHolidaySTP::LoadGridData() {
    const double v = std::nearbyint(leadingNumber(cboYear->currentText()));
    if (v < -32768 || v > 32767)
        throw std::overflow_error("Overflow");
    model_->open(db::sql::yearOf(QStringLiteral("TDate")) + QStringLiteral(" = ?"), {int(v)},
                 QStringLiteral("TDate"));
}

void frmHolidaySTP::cmdLoad_Click() {
    if (!pendingRowStored())
        return;
    try {
        LoadGridData();
        SetGridColumns();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmHolidaySTP::PrintList(int dest) { reports::PrintHolidayList(short(dest)); }

} // namespace plax::setup
