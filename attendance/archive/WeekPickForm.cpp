#include "WeekPickForm.h"

#include "core/common/Common.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace plax::archive {

WeekPickForm::WeekPickForm(QWidget* parent, const QString& name, const QString& title, const QString& prompt,
                           const QString& actionCaption, const QString& actionName)
    : QWidget(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* label = new QLabel(prompt, this);
    label->setObjectName(QStringLiteral("Label3"));
    lstWeek_ = new QListWidget(this);
    lstWeek_->setObjectName(QStringLiteral("lstWeek"));
    cmdAction_ = new QPushButton(actionCaption, this);
    cmdAction_->setObjectName(actionName);
    cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAction_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lstWeek_);
    layout->addLayout(buttons);
    resize(300, 280);

    connect(cmdClose_, &QPushButton::clicked, this, &WeekPickForm::cmdClose_Click);
    lstWeek_->installEventFilter(this);
}

bool WeekPickForm::eventFilter(QObject* watched, QEvent* event) {
    // While no week is chosen, the entry with the focus frame (the first
    // week on opening) is only marked, not chosen: Down or Up chooses that
    // week rather than the one beyond it.
    if (watched == lstWeek_ && event->type() == QEvent::KeyPress && lstWeek_->selectedItems().isEmpty() &&
        lstWeek_->count() > 0) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            lstWeek_->setCurrentRow(std::max(lstWeek_->currentRow(), 0));
            lstWeek_->currentItem()->setSelected(true);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WeekPickForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void WeekPickForm::actOnSelected(const std::function<bool(const QString&)>& act) {
    QListWidgetItem* item = lstWeek_->currentItem();
    const QString entry = item && item->isSelected() ? item->text() : QString();
    if (act(entry)) {
        delete lstWeek_->takeItem(lstWeek_->row(item));
        // The list would move on to the next week: nothing stays chosen, so
        // a second click cannot act on a week the user never picked.
        lstWeek_->setCurrentItem(nullptr);
        lstWeek_->clearSelection();
    }
}

void WeekPickForm::cmdClose_Click() { closeForm(this); }

} // namespace plax::archive
