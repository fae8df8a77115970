#include "Common.h"

#include "ErrorBox.h"
#include "platform/help/WinHelp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace plax {

QString HelpFile;

namespace {
bool g_ended = false;
std::function<void(int)> g_endHandler;
} // namespace

QString withTrailingSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString GetAppPath() { return withTrailingSeparator(QCoreApplication::applicationDirPath()); }

void CenterForm(QWidget* form) {
    if (!form)
        return;
    // A screen inside the main window is centred in the document area.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        if (QMdiArea* area = sub->mdiArea()) {
            const QSize room = area->viewport()->size();
            sub->move(qMax(0, (room.width() - sub->width()) / 2), qMax(0, (room.height() - sub->height()) / 2));
        }
        return;
    }
    QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = form->frameGeometry().size();
    form->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void placeForm(QWidget* form, int twips, std::optional<int> leftTwips) {
    if (!form)
        return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        const QWidget* area = frame->mdiArea() ? frame->mdiArea()->viewport() : frame->parentWidget();
        const int width = area ? area->width() : frame->width();
        frame->move(leftTwips ? *leftTwips / 15 : qMax(0, (width - frame->width()) / 2), twips / 15);
        return;
    }
    CenterForm(form);
    const QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    form->move(leftTwips ? origin.x() + *leftTwips / 15 : form->x(), origin.y() + twips / 15);
}

void closeForm(QWidget* form) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        frame->close();
    else
        form->close();
}

QString openDialogFilter(int kind) {
    switch (kind) {
    case 1:
        return QStringLiteral("Download Files (*.dld)|*.dld|Log Files (*.LOG)|*.log|Data Files (*.dat)|*.dat|"
                              "All Files (*.*)|*.*");
    case 2:
        return QStringLiteral("Log Files (*.LOG)|*.log|Text Files (*.TXT)|*.txt|Data Files (*.dat)|*.dat|"
                              "All Files (*.*)|*.*");
    case 3:
        return QStringLiteral("Access Database (*.mdb)|*.mdb|Text Files (*.txt)|*.txt|Data Files (*.dat)|*.dat|"
                              "All Files (*.*)|*.*");
    case 4:
        return QStringLiteral("Text Files (*.TXT)|*.txt|Access Database (*.mdb)|*.mdb|Data Files (*.dat)|*.dat|"
                              "All Files (*.*)|*.*");
    default:
        return QString();
    }
}

ui::FileRequest& OpenFileDlg() {
    static ui::FileRequest dlg;
    return dlg;
}

QString ShowOpenDialog(ui::FileRequest& dlg, const QString& initDir, const QString& title, int kind) {
    dlg.save = false;
    dlg.title = title;
    dlg.initialDir = initDir;
    const QString filter = openDialogFilter(kind);
    if (!filter.isEmpty()) {
        dlg.filter = filter;
        dlg.filterIndex = 1;
    }
    for (;;) {
        dlg.fileName.clear();
        const QString chosen = ui::ShowFileDialog(dlg);
        if (chosen.isEmpty())
            return QString(); // Cancel
        const QFileInfo fi(chosen);
        if (fi.exists() && fi.isFile())
            return chosen;
        ShowError(QStringLiteral("X202-"), chosen + QStringLiteral(" not found!"));
    }
}

QString ShowOpenDialog(const QString& initDir, const QString& title, int kind) {
    return ShowOpenDialog(OpenFileDlg(), initDir, title, kind);
}

void QuitHelp(QWidget* form) { help::WinHelp(form, HelpFile, help::HELP_QUIT, 0); }

void EndProgram(int exitCode) {
    g_ended = true;
    if (g_endHandler) {
        g_endHandler(exitCode);
        return;
    }
    // Queued, so it also ends a program whose event loop has not begun yet.
    if (QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); });
}

bool programEnded() { return g_ended; }
void resetProgramEnded() { g_ended = false; }
void setEndProgramHandler(std::function<void(int)> handler) { g_endHandler = std::move(handler); }

} // namespace plax
