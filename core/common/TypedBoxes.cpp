#include "TypedBoxes.h"

#include "platform/ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace plax {

namespace {

QDate toQDate(CalDate d) {
    return QDate(d.year(), d.month(), d.day());
}

bool plainKey(const QKeyEvent* e) {
    return (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

TypedBox::TypedBox(QWidget* parent) : QLineEdit(parent) {}

void TypedBox::showValue() {
    setText(shownText());
}

bool TypedBox::commit() {
    const QString typed = text();
    if (typed == shownText())
        return true;
    if (take(typed.trimmed())) {
        showValue();
        return true;
    }
    ui::MsgBox(refusal());
    showValue();
    selectAll();
    // Back into the box with its value selected, ready to be typed over.
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && isEnabled()) {
            setFocus(Qt::OtherFocusReason);
            selectAll();
        }
    });
    return false;
}

bool TypedBox::commitAll(QWidget* screen) {
    const QList<TypedBox*> boxes = screen->findChildren<TypedBox*>();
    return std::all_of(boxes.begin(), boxes.end(), [](TypedBox* box) { return box->commit(); });
}

void TypedBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Read when another control takes the focus. Its own calendar, another
    // window (a message box), the frame around the screen (a document-area
    // frame takes the focus for a moment at each click on a toolbar) and
    // the screen closing leave the typing where it is.
    const QWidget* next = QApplication::focusWidget();
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason ||
        !isVisible() || (next && next->isAncestorOf(this)))
        return;
    commit();
}

void TypedBox::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !commit()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void runToolbarKey(QWidget* screen, const QString& key, const std::function<void(const QString&)>& action) {
    if (key == QLatin1String("Close") || TypedBox::commitAll(screen))
        action(key);
}

// ---- DateBox

DateBox::DateBox(QWidget* parent) : TypedBox(parent), value_(CalDate::ymd(2000, 1, 1)) {
    QAction* open = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    open->setObjectName(QStringLiteral("calendarButton"));
    open->setToolTip(QStringLiteral("Calendar (F4)"));
    connect(open, &QAction::triggered, this, &DateBox::showCalendar);
    showValue();
}

DateBox::DateBox(QWidget* parent, const QString& name, CalDate value) : DateBox(parent) {
    setObjectName(name);
    setDate(value);
}

CalDate DateBox::date() const {
    if (text() == shownText())
        return value_;
    return parseDate(text().trimmed()).value_or(value_);
}

void DateBox::setDate(CalDate d) {
    value_ = d;
    showValue();
}

bool DateBox::take(const QString& text) {
    const auto d = parseDate(text);
    if (d)
        value_ = *d;
    return d.has_value();
}

QString DateBox::shownText() const {
    return value_.toShortDate();
}

QString DateBox::refusal() const {
    return QStringLiteral("Invalid date!");
}

void DateBox::showCalendar() {
    if (!commit())
        return;
    if (!calendar_) {
        calendar_ = new QCalendarWidget(this);
        calendar_->setObjectName(QStringLiteral("calendar"));
        calendar_->setWindowFlags(Qt::Popup);
        auto choose = [this](QDate q) {
            calendar_->hide();
            setDate(CalDate::ymd(q.year(), q.month(), q.day()));
            setFocus(Qt::PopupFocusReason);
        };
        connect(calendar_, &QCalendarWidget::clicked, this, choose);
        connect(calendar_, &QCalendarWidget::activated, this, choose);
    }
    calendar_->setSelectedDate(toQDate(value_));
    calendar_->adjustSize();
    calendar_->move(mapToGlobal(QPoint(0, height())));
    calendar_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

void DateBox::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_F4 && plainKey(event)) ||
        (event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier)) {
        showCalendar();
        return;
    }
    TypedBox::keyPressEvent(event);
}

QSize DateBox::sizeHint() const {
    QSize s = QLineEdit::sizeHint();
    const int text =
        fontMetrics().horizontalAdvance(CalDate::ymd(2026, 12, 28).toShortDate() + QStringLiteral("00"));
    s.setWidth(text + s.height() + 8); // the text, the calendar button and the frame
    return s;
}

// ---- TimeBox

TimeBox::TimeBox(QWidget* parent) : TypedBox(parent) {
    showValue();
}

TimeOfDay TimeBox::time() const {
    if (text() == shownText())
        return value_;
    return TimeOfDay::parseTyped(text(), value_).value_or(value_);
}

void TimeBox::setTime(TimeOfDay t) {
    value_ = t;
    showValue();
}

bool TimeBox::take(const QString& text) {
    const auto t = TimeOfDay::parseTyped(text, value_);
    if (t)
        value_ = *t;
    return t.has_value();
}

QString TimeBox::shownText() const {
    return value_.toHmAmPm();
}

QString TimeBox::refusal() const {
    return QStringLiteral("Invalid time!");
}

int TimeBox::part() const {
    if (selectedText().size() == text().size())
        return 0; // all of it, as after Tab: the hours come first
    const int at = hasSelectedText() ? selectionStart() : cursorPosition();
    return at <= 2 ? 0 : at <= 5 ? 1 : 2;
}

void TimeBox::choosePart(int p) {
    setSelection(p * 3, 2);
}

void TimeBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // While the box shows its value, keys act on its parts as in a time
    // picker; once something else is typed it is read as a whole.
    if (text() == shownText()) {
        if ((key == Qt::Key_Left || key == Qt::Key_Right) && plainKey(event)) {
            choosePart(std::clamp(part() + (key == Qt::Key_Right ? 1 : -1), 0, 2));
            return;
        }
        const bool typing =
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        const QString typed = typing ? event->text().toLower() : QString();
        if (typed == QLatin1String("a") || typed == QLatin1String("p")) {
            const bool all = selectedText().size() == text().size();
            const int p = part();
            const int pm = typed == QLatin1String("p") ? 1 : 0;
            if (value_.hour() / 12 != pm)
                setTime(TimeOfDay::fromMinutes(value_.minutes() + 720));
            if (all)
                selectAll();
            else
                choosePart(p);
            return;
        }
        if (typed == QLatin1String("m"))
            return; // the rest of "am" or "pm"
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && plainKey(event)) {
        const int p = part();
        if (!commit())
            return;
        const int step = key == Qt::Key_Up ? 1 : -1;
        setTime(TimeOfDay::fromMinutes(value_.minutes() + (p == 0 ? 60 * step : p == 1 ? step : 720)));
        choosePart(p);
        return;
    }
    TypedBox::keyPressEvent(event);
}

QSize TimeBox::sizeHint() const {
    QSize s = QLineEdit::sizeHint();
    s.setWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:00 AM00")) + 8);
    return s;
}

} // namespace plax
