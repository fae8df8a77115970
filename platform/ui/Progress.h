#pragma once
// Progress of long work on the user-interface thread.
//
// Threading: user-interface thread only.

#include <QString>
#include <functional>

class QWidget;

namespace plax::ui {

// A callback for long work, told the steps done and their total between
// pieces of the work: a bar without a Cancel button appears over `owner`'s
// window once the work counts `showFrom` steps or more and has run
// `showAfterMs`, and the windows keep painting meanwhile (user input waits
// until the work is done). The bar goes when done reaches total.
std::function<void(int done, int total)> progressBar(QWidget* owner, const QString& title, int showFrom,
                                                     int showAfterMs = 0, const QString& objectName = QString());

} // namespace plax::ui
