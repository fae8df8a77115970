#include "WeekNavigator.h"

#include "Globals.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace plax {

std::optional<CalDate> steppedWeekStart(const QString& text, int direction, const CompanySettings& s) {
    const auto d = parseDate(text);
    if (!d)
        return std::nullopt;
    return WeekStart(*d, s).addDays(direction < 0 ? -7 : 7);
}

WeekNavigator::WeekNavigator(QLineEdit* payPeriod, QWidget* parent)
    : QWidget(parent), box_(payPeriod), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    setObjectName(QStringLiteral("UpDown1"));
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName(QStringLiteral("UpDown1Up"));
    down_->setObjectName(QStringLiteral("UpDown1Down"));
    up_->setToolTip(tr("Next pay period"));
    down_->setToolTip(tr("Previous pay period"));
    // Arrows only: the names a screen reader says.
    up_->setAccessibleName(up_->toolTip());
    down_->setAccessibleName(down_->toolTip());
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRaise(false);
        b->setFixedSize(18, 12);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &WeekNavigator::stepUp);
    connect(down_, &QToolButton::clicked, this, &WeekNavigator::stepDown);
}

bool WeekNavigator::step(int direction) {
    const auto next = steppedWeekStart(box_->text(), direction, settings_ ? *settings_ : Company);
    if (!next) {
        ui::MsgBox(QStringLiteral("Invalid date!"), ui::Buttons::OK, ui::Icon::Exclamation);
        return false;
    }
    box_->setText(next->toShortDate());
    emit stepped();
    return true;
}

} // namespace plax
