#pragma once
// The pay-period week arrows (`UpDown1`) beside a pay-period start box
// (`txtPayPeriod`). Five screens carry them: the clock-data editor, the
// attendance, exception and absence reports and the absence entry screen.
// One arrow press moves the box to the start of the previous or following
// work week; a box that holds no date gets "Invalid date!" and stays as it
// is. What a screen does after the step (focus back to the box, reload a
// grid) it connects to `stepped`.
//
// Belongs to the user-interface thread.

#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"

#include <QWidget>
#include <optional>

class QLineEdit;
class QToolButton;

namespace plax {

// The start of the work week before (direction < 0) or after (direction > 0)
// the week holding the date in `text`; nullopt when `text` is not a date.
std::optional<CalDate> steppedWeekStart(const QString& text, int direction, const CompanySettings& s);

class WeekNavigator : public QWidget {
    Q_OBJECT
  public:
    // Steps `payPeriod`; the work week comes from the program's company
    // settings unless setSettings gives others.
    explicit WeekNavigator(QLineEdit* payPeriod, QWidget* parent = nullptr);

    void setSettings(const CompanySettings& s) { settings_ = s; }

    // UpDown1_DownClick / UpDown1_UpClick. False when the box held no date.
    bool stepDown() { return step(-1); }
    bool stepUp() { return step(+1); }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  signals:
    // The box holds its new date.
    void stepped();

  private:
    bool step(int direction);

    QLineEdit* box_;
    QToolButton* up_;
    QToolButton* down_;
    std::optional<CompanySettings> settings_;
};

} // namespace plax
