#pragma once
// "Export Personal Data": choose employee fields and their order, and which
// employees, then write them to a text file.

#include <QStringList>
#include <QWidget>

class QPushButton;
class QRadioButton;

namespace plax::exchange {

class FieldPicker;

class frmExpData : public QWidget {
    Q_OBJECT
public:
    explicit frmExpData(QWidget* parent = nullptr);
    FieldPicker* picker() const { return picker_; }

    void SSCExport_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadFieldList();

    FieldPicker* picker_;
    QRadioButton* Option1_;
    QRadioButton* Option2_;
    QRadioButton* Option3_;
    QPushButton* SSCExport_;
    QPushButton* cmdClose_;
    // The captions in code order, so that a list text turns back into its code.
    QStringList captions_;
    bool placed_ = false;
};

} // namespace plax::exchange
