#pragma once
// The main window's Setup items for the company settings ("mnuSetupCompany")
// and the clock communication settings ("mnuSetupPLAXClk").

#include "Recompute.h"

#include <QString>

class QAbstractButton;
class QWidget;

namespace plax {
// Registers the menu handlers of both screens (called by main()).
void registerSettingsScreens();
} // namespace plax

namespace plax::settings {

// Shows the single instance of each screen.
QWidget* showCompanySetup();
QWidget* showCommParm();

// A button that shows only a picture: the tip shown on pointing at it and
// the name a screen reader says.
void describeButton(QAbstractButton* button, const QString& tip, const QString& name);

// A progress callback for a recompute: a bar appears for tables of
// kProgressFrom rows or more, and the windows keep painting meanwhile
// (user input waits until the recompute is done).
constexpr int kProgressFrom = 5000;
RecomputeProgress recomputeProgress(QWidget* owner, const QString& title);

} // namespace plax::settings
