#pragma once
// The help viewer: WinHelp-style commands over a help file of our own
// format, shown in a viewer window with contents, a search box and links.
//
// The help file is HTML. Each topic is one <section> element (not nested)
// with an id, an optional numeric data-context and optional
// data-keywords="word;word"; its first <h1> is the topic's title. Links
// between topics are <a href="#id">.
//
// Threading: user-interface thread only.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace plax::help {

// The commands the programs send.
constexpr unsigned HELP_CONTEXT = 0x0001;
constexpr unsigned HELP_QUIT = 0x0002;
constexpr unsigned HELP_CONTENTS = 0x0003;
constexpr unsigned HELP_FINDER = 0x000B;
constexpr unsigned HELP_PARTIALKEY = 0x0105;

struct Topic {
    QString id;
    QString title;
    int context = 0;
    QStringList keywords;
    QString html; // the section's inner HTML
};

struct HelpFile {
    QString title;
    std::vector<Topic> topics;
    const Topic* byId(const QString& id) const;
    const Topic* byContext(int context) const;
    // Topics whose title or a keyword begins with `text` (case ignored),
    // as (entry, topic id) pairs sorted by entry.
    std::vector<std::pair<QString, QString>> search(const QString& text) const;
};

// Reads a help file; nullopt when it cannot be read or holds no topic.
std::optional<HelpFile> readHelpFile(const QString& path);
std::optional<HelpFile> parseHelpFile(const QString& html);

// Runs a help command for `window` on `file`. HELP_FINDER and HELP_CONTENTS
// open the contents, HELP_PARTIALKEY the search, HELP_CONTEXT the topic
// numbered `data` (the first topic, the contents page, when no topic has
// that number); HELP_QUIT closes the viewer opened for `window`.
// Returns false, after a message, when the file cannot be read.
bool WinHelp(QWidget* window, const QString& file, unsigned command, unsigned long long data);

// The viewer window now open on `file`, or nullptr (tests).
QWidget* openViewer(const QString& file = QString());

} // namespace plax::help
