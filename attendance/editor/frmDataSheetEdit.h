#pragma once
// "Data Sheet": the clock-data editor. A supervisor corrects one employee's
// attendance rows for a pay-period week or a date range in a grid.

#include <QWidget>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace plax {
class DateBox;
class WeekNavigator;
}

namespace plax::editor {

class ClockGrid;
class ClockGridModel;
class ClockGridView;

class frmDataSheetEdit : public QWidget {
    Q_OBJECT
public:
    explicit frmDataSheetEdit(QWidget* parent = nullptr);
    ~frmDataSheetEdit() override;

    void Toolbar1_ButtonClick(const QString& key);
    void cmdLoad_Click();
    void cboEmployee_Click();
    void txtPayPeriod_LostFocus();
    void LoadClockGrid();
    void DeleteSelectedRows();

    ClockGrid& grid();
    ClockGridModel* gridModel() const { return model_; }
    ClockGridView* gridView() const { return TDBGrid1_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void optDateRange_Click();
    void optPayPeriod_Click();
    void UpDown1_Stepped();
    void SetupClockGridColumns();
    QString chosenEmployee() const;

    QComboBox* cboEmployee_;
    QRadioButton *optPayPeriod_, *optDateRange_;
    QLineEdit* txtPayPeriod_;
    WeekNavigator* UpDown1_;
    DateBox *DTPFromDate_, *DTPToDate_;
    QPushButton* cmdLoad_;
    QToolBar* Toolbar1_;
    ClockGridModel* model_; // owns the rows

    ClockGridView* TDBGrid1_;
    QString cboTag_, payTag_;
    bool placed_ = false;
};

} // namespace plax::editor
