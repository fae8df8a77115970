#pragma once
// "Unarchive": lists the week archive files and brings a week back.

#include <QWidget>

class QListWidget;
class QPushButton;

namespace plax::archive {

class frmUnarchive : public QWidget {
    Q_OBJECT
public:
    explicit frmUnarchive(QWidget* parent = nullptr);

    void ListArchives();
    void cmdUnArchive_Click();
    void cmdClose_Click();
    QListWidget* weekList() const { return lstWeek_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* lstWeek_;
    QPushButton* cmdUnArchive_;
    QPushButton* cmdClose_;
    bool placed_ = false;
};

} // namespace plax::archive
