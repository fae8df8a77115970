#include "FieldPicker.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace plax::exchange {
namespace {

QListWidget* fieldList(QWidget* parent, const char* name) {
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setSortingEnabled(false);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

void moveSelected(QListWidget* from, QListWidget* to) {
    QList<int> rows;
    for (int i = 0; i < from->count(); ++i)
        if (from->item(i)->isSelected())
            rows << i;
    for (int r : rows)
        to->addItem(from->item(r)->text());
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        delete from->takeItem(rows[i]);
}

void moveAll(QListWidget* from, QListWidget* to) {
    for (int i = 0; i < from->count(); ++i)
        to->addItem(from->item(i)->text());
    from->clear();
}

void moveItem(QListWidget* from, QListWidgetItem* item, QListWidget* to) {
    if (!item || item->listWidget() != from)
        return;
    to->addItem(item->text());
    delete from->takeItem(from->row(item));
}

QStringList itemTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

FieldPicker::FieldPicker(const QString& availableCaption, const QString& chosenCaption, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FieldPicker"));
    lstAvailable_ = fieldList(this, "lstAvailable");
    lstToExport_ = fieldList(this, "lstToExport");
    cmdInsert_ = button(this, "cmdInsert", ">");
    cmdToExport_ = button(this, "cmdToExport", ">>");
    cmdDelete_ = button(this, "cmdDelete", "<");
    cmdAvailable_ = button(this, "cmdAvailable", "<<");

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdInsert_, cmdToExport_, cmdDelete_, cmdAvailable_})
        buttons->addWidget(b);
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(availableCaption, this), 0, 0);
    grid->addWidget(new QLabel(chosenCaption, this), 0, 2);
    grid->addWidget(lstAvailable_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(lstToExport_, 1, 2);

    connect(cmdInsert_, &QPushButton::clicked, this, [this] { moveSelected(lstAvailable_, lstToExport_); });
    connect(cmdToExport_, &QPushButton::clicked, this, [this] { moveAll(lstAvailable_, lstToExport_); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { moveSelected(lstToExport_, lstAvailable_); });
    connect(cmdAvailable_, &QPushButton::clicked, this, [this] { moveAll(lstToExport_, lstAvailable_); });
    connect(lstAvailable_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { moveItem(lstAvailable_, item, lstToExport_); });
    connect(lstToExport_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { moveItem(lstToExport_, item, lstAvailable_); });
}

void FieldPicker::LoadFieldList(const QStringList& captions) {
    lstAvailable_->clear();
    lstToExport_->clear();
    lstAvailable_->addItems(captions);
}

} // namespace plax::exchange
