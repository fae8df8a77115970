#pragma once
// "Archive": moves a chosen work week into a week archive file.

#include <QWidget>

class QListWidget;
class QPushButton;

namespace plax::archive {

class frmArchive : public QWidget {
    Q_OBJECT
public:
    explicit frmArchive(QWidget* parent = nullptr);

    void cmdArchive_Click();
    void cmdClose_Click();
    QListWidget* weekList() const { return lstWeek_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* lstWeek_;
    QPushButton* cmdArchive_;
    QPushButton* cmdClose_;
    bool placed_ = false;
};

} // namespace plax::archive
