#pragma once
// Keys that act alike on every screen of both programs.
//
// Threading: user-interface thread only.

namespace plax::ui {

// Enter on a push button that has the focus presses it, on every screen
// (Qt does so only inside dialogs). Both programs install it at start-up;
// calling it again does nothing.
void installButtonEnterKey();

} // namespace plax::ui
