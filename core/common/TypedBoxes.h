#pragma once
// The date box and the time box of every screen. Each is one line of text
// and one Tab stop: the user types over what it shows, and the text is read
// when the box is left (another control takes the focus, Enter) and before
// a toolbar button acts (runToolbarKey). A text that does not read is
// refused with a message and the value shown before comes back; nothing is
// ever read as another value than the one typed. Dates are read by
// parseDate in the order the box shows them, times by TimeOfDay::parseTyped.

#include "core/types/Dates.h"

#include <QLineEdit>

#include <functional>

class QCalendarWidget;

namespace plax {

class TypedBox : public QLineEdit {
    Q_OBJECT
  public:
    // Reads what was typed. False after a refusal: the message was shown and
    // the box shows its value again, selected for typing over.
    bool commit();
    // Commits every box of `screen`; false after the first refusal. Toolbar
    // buttons take no focus, so their actions run only after this.
    static bool commitAll(QWidget* screen);

  protected:
    explicit TypedBox(QWidget* parent);
    // Takes `text` as the new value; false when it does not read.
    virtual bool take(const QString& text) = 0;
    // The value in the form the box shows it.
    virtual QString shownText() const = 0;
    virtual QString refusal() const = 0;
    // Shows the value (after a change by the program or the user).
    void showValue();

    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// A date in the program's short date format; the calendar opens from the
// button inside the box, with F4 or with Alt+Down.
class DateBox : public TypedBox {
    Q_OBJECT
  public:
    explicit DateBox(QWidget* parent = nullptr);
    DateBox(QWidget* parent, const QString& name, CalDate value);

    // The date typed, when the text reads as one; else the date last shown.
    CalDate date() const;
    void setDate(CalDate d);
    void showCalendar();

  protected:
    bool take(const QString& text) override;
    QString shownText() const override;
    QString refusal() const override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override;

  private:
    CalDate value_;
    QCalendarWidget* calendar_ = nullptr;
};

// A time of day shown as "hh:mm AM". Left and Right move between the
// hours, the minutes and AM/PM; Up and Down change the part chosen; a or p
// there sets the half of the day.
class TimeBox : public TypedBox {
    Q_OBJECT
  public:
    explicit TimeBox(QWidget* parent = nullptr);

    // The time typed, when the text reads as one; else the time last shown.
    TimeOfDay time() const;
    void setTime(TimeOfDay t);

  protected:
    bool take(const QString& text) override;
    QString shownText() const override;
    QString refusal() const override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override;

  private:
    // 0 hours, 1 minutes, 2 AM/PM: the part the caret or selection is in.
    int part() const;
    void choosePart(int part);

    TimeOfDay value_;
};

// Runs the action of a screen's toolbar key. Toolbar buttons take no
// focus, so the screen's boxes are read first and a refusal cancels the
// action; "Close" reads nothing.
void runToolbarKey(QWidget* screen, const QString& key, const std::function<void(const QString&)>& action);

} // namespace plax
