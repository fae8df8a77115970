#include "frmPrintID.h"

#include "SetupParts.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"
#include "reports/screens/ScreenParts.h"

#include <QGroupBox>
#include <QLabel>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace plax::setup {

frmPrintID::frmPrintID(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmPrintID"));
    setWindowTitle(QStringLiteral("Utility: Print Employee Badge"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("SSFrame1"));
    TreeView1 = new QTreeWidget(frame);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    auto* f = new QVBoxLayout(frame);
    f->addWidget(new QLabel(QStringLiteral("Select By:"), frame));
    f->addWidget(new QLabel(QStringLiteral("Employee"), frame));
    f->addWidget(TreeView1);
    auto* main = new QVBoxLayout(this);
    main->addWidget(makeToolbar(this,
                                {{"Preview", "View", "Preview employee badges"},
                                 {"Print", "Print", "Print employee badges"},
                                 {"Close", "Close", "Close this window"}},
                                [this](const QString& key) { Toolbar1_ButtonClick(key); }));
    main->addWidget(frame);
    resize(360, 440);
    connect(TreeView1, &QTreeWidget::itemChanged, this, &frmPrintID::TreeView1_NodeCheck);
    LoadTreeByEmp(TreeView1);
}

void frmPrintID::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void frmPrintID::LoadTreeByEmp(QTreeWidget* tree) {
    try {
        const std::vector<BadgeChoice> employees = badgeEmployees(companyDb());
        if (employees.empty())
            return;
        QSignalBlocker block(tree);
        auto* root = new QTreeWidgetItem(tree, {QStringLiteral("ALL")});
        root->setData(0, Qt::UserRole, QStringLiteral("Node1"));
        root->setCheckState(0, Qt::Unchecked);
        for (const BadgeChoice& e : employees) {
            auto* node = new QTreeWidgetItem(root, {e.text});
            // The ID travels with the node, so IDs holding a comma come back whole.
            node->setData(0, Qt::UserRole + 1, e.id);
            node->setCheckState(0, Qt::Unchecked);
        }
        root->setExpanded(true);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmPrintID::TreeView1_NodeCheck(QTreeWidgetItem* node, int) {
    if (node->childCount() == 0)
        return; // an employee's check changes nothing else
    QSignalBlocker block(TreeView1);
    for (int i = 0; i < node->childCount(); ++i)
        node->child(i)->setCheckState(0, node->checkState(0));
}

std::optional<QString> frmPrintID::badgeFormula() {
    bool all = false;
    std::vector<BadgeChoice> choices;
    if (QTreeWidgetItem* root = TreeView1->topLevelItem(0)) {
        all = root->checkState(0) == Qt::Checked;
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* n = root->child(i);
            choices.push_back({n->data(0, Qt::UserRole + 1).toString(), n->text(0), n->checkState(0) == Qt::Checked});
        }
    }
    const auto formula = badgeSelection(all, choices);
    if (!formula)
        ui::MsgBox(QStringLiteral("Please select the ID you want to print first."));
    return formula;
}

void frmPrintID::PrintBadges(int dest) {
    try {
        if (const auto formula = badgeFormula())
            reports::printReport(dest, QStringLiteral("EmpID.rpt"), *formula);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmPrintID::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Preview"))
        PrintBadges(1);
    else if (key == QLatin1String("Print"))
        PrintBadges(0);
    else if (key == QLatin1String("Close"))
        closeForm(this);
}

} // namespace plax::setup
