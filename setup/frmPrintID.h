#pragma once
// "Utility: Print Employee Badge": active employees in a tree with check
// boxes under "ALL"; the checked ones are printed or previewed through
// "EmpID.rpt".

#include "BadgeSelection.h"

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace plax::setup {

class frmPrintID : public QWidget {
    Q_OBJECT
public:
    explicit frmPrintID(QWidget* parent = nullptr);

    bool loaded() const { return true; }
    void Toolbar1_ButtonClick(const QString& key);
    // The selection formula the report gets; nullopt after the message.
    std::optional<QString> badgeFormula();
    void LoadTreeByEmp(QTreeWidget* tree);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void TreeView1_NodeCheck(QTreeWidgetItem* node, int column);
    void PrintBadges(int dest);

    QTreeWidget* TreeView1;
    bool placed_ = false;
};

} // namespace plax::setup
