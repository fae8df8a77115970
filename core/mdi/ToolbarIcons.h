#pragma once
// The main window's toolbar pictures, drawn at run time.

#include <QIcon>
#include <QString>

namespace plax {

// The picture for a toolbar key ("Employee", "Schedule", ...).
QIcon toolbarIcon(const QString& key);

} // namespace plax
