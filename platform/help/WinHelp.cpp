#include "WinHelp.h"

#include "HelpViewer.h"

#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QWindow>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QRegularExpression>
#include <algorithm>

namespace plax::help {
namespace {

QList<QPointer<HelpViewer>>& viewers() {
    static QList<QPointer<HelpViewer>> list;
    list.removeAll(nullptr);
    return list;
}

QString attribute(const QString& attrs, const QString& name) {
    const QRegularExpression re(QStringLiteral("\\b%1\\s*=\\s*\"([^\"]*)\"").arg(QRegularExpression::escape(name)),
                                QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(attrs);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString plainText(QString html) {
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return html.simplified();
}

} // namespace

const Topic* HelpFile::byId(const QString& id) const {
    for (const Topic& t : topics)
        if (t.id.compare(id, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const Topic* HelpFile::byContext(int context) const {
    for (const Topic& t : topics)
        if (t.context != 0 && t.context == context)
            return &t;
    return nullptr;
}

std::vector<std::pair<QString, QString>> HelpFile::search(const QString& text) const {
    std::vector<std::pair<QString, QString>> found;
    const QString want = text.trimmed();
    for (const Topic& t : topics) {
        QStringList entries = t.keywords;
        entries.prepend(t.title);
        for (const QString& e : entries)
            if (want.isEmpty() || e.startsWith(want, Qt::CaseInsensitive))
                found.emplace_back(e, t.id);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

std::optional<HelpFile> parseHelpFile(const QString& html) {
    HelpFile file;
    const QRegularExpression titleRe(QStringLiteral("<title>(.*?)</title>"),
                                     QRegularExpression::CaseInsensitiveOption |
                                         QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = titleRe.match(html); m.hasMatch())
        file.title = plainText(m.captured(1));
    const QRegularExpression sectionRe(QStringLiteral("<section\\b([^>]*)>(.*?)</section>"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression h1Re(QStringLiteral("<h1\\b[^>]*>(.*?)</h1>"),
                                  QRegularExpression::CaseInsensitiveOption |
                                      QRegularExpression::DotMatchesEverythingOption);
    for (auto it = sectionRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        Topic t;
        const QString attrs = m.captured(1);
        t.id = attribute(attrs, QStringLiteral("id"));
        t.context = attribute(attrs, QStringLiteral("data-context")).toInt();
        for (const QString& k : attribute(attrs, QStringLiteral("data-keywords")).split(QLatin1Char(';')))
            if (!k.trimmed().isEmpty())
                t.keywords << k.trimmed();
        t.html = m.captured(2);
        if (const auto h = h1Re.match(t.html); h.hasMatch())
            t.title = plainText(h.captured(1));
        if (t.title.isEmpty())
            t.title = t.id;
        if (!t.id.isEmpty())
            file.topics.push_back(std::move(t));
    }
    if (file.topics.empty())
        return std::nullopt;
    return file;
}

std::optional<HelpFile> readHelpFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseHelpFile(QString::fromUtf8(f.readAll()));
}

QWidget* openViewer(const QString& file) {
    for (const auto& v : viewers())
        if (file.isEmpty() || QFileInfo(v->path()) == QFileInfo(file))
            return v;
    return nullptr;
}

bool WinHelp(QWidget* window, const QString& file, unsigned command, unsigned long long data) {
    if (command == HELP_QUIT) {
        for (const auto& v : viewers())
            if (v->owner() == window || !window)
                v->close();
        return true;
    }
    HelpViewer* viewer = static_cast<HelpViewer*>(openViewer(file));
    if (!viewer) {
        auto parsed = readHelpFile(file);
        if (!parsed) {
            ui::MsgBox(QStringLiteral("Cannot open the help file %1.").arg(QDir::toNativeSeparators(file)),
                       ui::Buttons::OK, ui::Icon::Exclamation);
            return false;
        }
        viewer = new HelpViewer(file, std::move(*parsed), window);
        viewers().append(viewer);
    }
    switch (command) {
    case HELP_PARTIALKEY:
        viewer->showSearch();
        break;
    case HELP_CONTEXT:
        if (!viewer->showContext(int(data)))
            viewer->showHome();
        break;
    default:
        viewer->showContents();
        break;
    }
    viewer->show();
    // Opened from a modal dialog, the viewer must not be blocked by it: it
    // becomes the dialog's transient window (a new modal dialog would block
    // it again until help is asked for from there).
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != viewer && modal->windowHandle() &&
                                                            viewer->windowHandle())
        viewer->windowHandle()->setTransientParent(modal->windowHandle());
    viewer->raise();
    viewer->activateWindow();
    return true;
}

} // namespace plax::help
