#pragma once
// Centres a screen and sets its top edge `twips` below the top of the
// screen or of the main window's document area (15 twips to a pixel).

class QWidget;

namespace plax::archive {

void placeForm(QWidget* form, int twips);
// Closes the screen and its frame in the main window's document area.
void closeForm(QWidget* form);

} // namespace plax::archive
