#pragma once
// "Print To Printer": the dialog through which a report goes to a printer.
// It shows the printer of the job in ReportJob among the installed printers
// (name, driver and port in three parallel lists, "Use Default Printer"
// first), lets the user set the page range and the copies, and on OK
// prints the job and shows its status. The printer chosen in the list is
// only shown; the job prints on its own printer (or the default one).
// The dialog loads the job in ReportJob when it is made: set ReportJob first.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace plax::reports {

class frmPrintFrm : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintFrm(QWidget* parent = nullptr);

    // The number at the start of a box's text, rounded (blank or not a number: 0).
    static double numericValue(const QString& text);

    QComboBox* cboPrtName;
    QComboBox* cboPrtDriver;
    QComboBox* cboPrtPort;
    QLineEdit* StartPage;
    QLineEdit* EndPage;
    QLineEdit* Copies;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // What the lists showed at the end of loading.
    QString PrinterName, DriverName, PortName;

protected:
    // Centred the first time it shows, once its size and frame are known.
    void showEvent(QShowEvent* event) override;

private:
    // Fills the lists, selects the job's printer and shows its copies. Stops
    // at the first engine failure (after its box).
    void Form_Load();
    void LoadPrinterList();
    void ShowSelectedPrinter();
    void cboPrtName_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    bool placed_ = false;
};

} // namespace plax::reports
