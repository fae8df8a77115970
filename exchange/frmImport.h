#pragma once
// "Import data from file": choose which employee fields the file holds and
// in which order, pick the file, and add its employees.

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace plax::exchange {

class FieldPicker;

class frmImport : public QWidget {
    Q_OBJECT
public:
    explicit frmImport(QWidget* parent = nullptr);
    FieldPicker* picker() const { return picker_; }
    QLineEdit* txtFileName() const { return TxtFileName_; }

    void cmdFind_Click();
    void SSCImport_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadFieldList();

    FieldPicker* picker_;
    QLineEdit* TxtFileName_;
    QPushButton* cmdFind_;
    QPushButton* SSCImport_;
    QPushButton* cmdClose_;
    QStringList captions_;
    bool placed_ = false;
};

} // namespace plax::exchange
