#pragma once
// The body the Archive and Unarchive screens share: a prompt, a list of
// weeks, an action button and Close, placed in the document area on first
// show.

#include <QWidget>

#include <functional>

class QListWidget;
class QPushButton;

namespace plax::archive {

class WeekPickForm : public QWidget {
    Q_OBJECT
public:
    void cmdClose_Click();
    QListWidget* weekList() const { return lstWeek_; }

protected:
    WeekPickForm(QWidget* parent, const QString& name, const QString& title, const QString& prompt,
                 const QString& actionCaption, const QString& actionName);

    QPushButton* actionButton() const { return cmdAction_; }
    // Runs `act` on the selected entry (empty when none is selected) and
    // drops the entry from the list when it succeeds.
    void actOnSelected(const std::function<bool(const QString&)>& act);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QListWidget* lstWeek_;

private:
    QPushButton* cmdAction_;
    QPushButton* cmdClose_;
    bool placed_ = false;
};

} // namespace plax::archive
