#pragma once
// Pieces the setup screens share: a keyed toolbar, Enter acting as Tab,
// the key of a pick-list entry, and numbers as the screens type them.

#include <QString>
#include <functional>
#include <vector>

class QToolBar;
class QWidget;

namespace plax::setup {

struct ToolButton {
    const char* key;
    const char* caption;
    const char* tip;
};

// Toolbar1: one action per button, its data the key; `clicked` gets the key.
// An empty key adds a separator.
QToolBar* makeToolbar(QWidget* parent, const std::vector<ToolButton>& buttons,
                      const std::function<void(const QString& key)>& clicked);

// Enter in `field` is swallowed and the focus moves on as Tab would.
void enterToTab(QWidget* field);

// The key of a pick-list entry: the text before its first blank, or the
// whole text when it holds none.
QString listKey(const QString& entry);

} // namespace plax::setup
