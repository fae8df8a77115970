#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>

namespace plax::ui {
namespace {

QPointer<QWidget> g_parent;
int g_waitDepth = 0;
constexpr int kTwipsPerPixel = 15;

// Patterns as the file system model matches them: "*.*" stands for every
// file, as it always did.
QStringList globPatterns(const QStringList& patterns) {
    QStringList out;
    for (const QString& p : patterns)
        out << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
    return out;
}

QMessageBox::StandardButtons qtButtons(Buttons b) {
    switch (b) {
    case Buttons::OK:
        return QMessageBox::Ok;
    case Buttons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(Icon i) {
    switch (i) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

Answer fromQt(int b) {
    switch (b) {
    case QMessageBox::Ok:
        return Answer::OK;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        return Answer::Cancel;
    }
}

// The real windows.
class WidgetResponder : public Responder {
public:
    Answer message(const MessageRequest& r) override {
        QMessageBox box(qtIcon(r.icon), r.title, r.text, qtButtons(r.buttons), g_parent);
        return fromQt(box.exec());
    }
    std::optional<QString> input(const InputRequest& r) override {
        QInputDialog box(g_parent);
        box.setWindowTitle(r.title);
        box.setLabelText(r.prompt);
        box.setTextValue(r.defaultText);
        if (r.position) {
            const QScreen* screen = g_parent ? g_parent->screen() : QGuiApplication::primaryScreen();
            box.move((screen ? screen->geometry().topLeft() : QPoint()) + *r.position / kTwipsPerPixel);
        }
        if (box.exec() != QDialog::Accepted)
            return std::nullopt;
        return box.textValue();
    }
    QString file(const FileRequest& r) override {
        QFileDialog dlg(g_parent, r.title, r.initialDir);
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        const std::vector<FileFilter> filters = parseFileFilter(r.filter);
        dlg.setNameFilters(vbFilterToQt(r.filter));
        // The list shows the captions as written; the files are chosen by
        // the filter's own patterns.
        const auto usePatterns = [&dlg, &filters](qsizetype i) {
            auto* model = dlg.findChild<QFileSystemModel*>();
            if (model && i >= 0 && size_t(i) < filters.size())
                model->setNameFilters(globPatterns(filters[size_t(i)].patterns));
        };
        QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                         [&dlg, usePatterns](const QString& caption) { usePatterns(dlg.nameFilters().indexOf(caption)); });
        const qsizetype first = r.filterIndex >= 1 && size_t(r.filterIndex) <= filters.size() ? r.filterIndex - 1 : 0;
        if (first < dlg.nameFilters().size())
            dlg.selectNameFilter(dlg.nameFilters()[first]);
        usePatterns(first);
        dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(r.save ? QFileDialog::AnyFile
                               : (r.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
        if (!r.overwritePrompt)
            dlg.setOption(QFileDialog::DontConfirmOverwrite);
        if (!r.fileName.isEmpty())
            dlg.selectFile(r.fileName);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return {};
        return dlg.selectedFiles().front();
    }
    void beep() override { QApplication::beep(); }
};

WidgetResponder g_widgets;
Responder* g_responder = &g_widgets;

} // namespace

void setResponder(Responder* r) { g_responder = r ? r : &g_widgets; }
Responder* responder() { return g_responder; }

QString appTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("PLAX") : name;
}

void setParentWindow(QWidget* w) { g_parent = w; }

Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    return g_responder->message({text, title.isEmpty() ? appTitle() : title, buttons, icon});
}

std::optional<QString> InputBoxEx(const QString& prompt, const QString& title, const QString& defaultText,
                                  std::optional<QPoint> position) {
    return g_responder->input({prompt, title.isEmpty() ? appTitle() : title, defaultText, position});
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText,
                 std::optional<QPoint> position) {
    return InputBoxEx(prompt, title, defaultText, position).value_or(QString());
}

void Beep() { g_responder->beep(); }

QString ShowFileDialog(const FileRequest& r) { return g_responder->file(r); }

std::vector<FileFilter> parseFileFilter(const QString& filter) {
    std::vector<FileFilter> out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out.push_back({parts[i], parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    return out;
}

QStringList vbFilterToQt(const QString& vbFilter) {
    // The dialog takes the patterns from the parentheses at a caption's end.
    static const QRegularExpression named(QStringLiteral("\\([^()]+\\)\\s*$"));
    QStringList out;
    for (const FileFilter& f : parseFileFilter(vbFilter))
        out << (named.match(f.caption).hasMatch()
                    ? f.caption
                    : QStringLiteral("%1 (%2)").arg(f.caption.trimmed(), f.patterns.join(QLatin1Char(' '))));
    return out;
}

WaitCursor::WaitCursor() {
    if (g_waitDepth++ == 0 && qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    if (--g_waitDepth == 0 && qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::restoreOverrideCursor();
}

bool waitCursorShown() { return g_waitDepth > 0; }

// ---- ScriptedResponder ---------------------------------------------------------

ScriptedResponder::ScriptedResponder() : previous_(responder()) { setResponder(this); }
ScriptedResponder::~ScriptedResponder() { setResponder(previous_ == this ? nullptr : previous_); }

Answer ScriptedResponder::message(const MessageRequest& r) {
    messages.push_back(r);
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (r.buttons) {
    case Buttons::OK:
    case Buttons::OKCancel:
        return Answer::OK;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    case Buttons::RetryCancel:
        return Answer::Retry;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    }
    return Answer::OK;
}

std::optional<QString> ScriptedResponder::input(const InputRequest& r) {
    inputRequests.push_back(r);
    if (inputs.empty())
        return std::nullopt;
    const bool cancelled = !inputs.front().has_value();
    const QString text = cancelled ? QString() : *inputs.front();
    inputs.pop_front();
    if (cancelled)
        return std::nullopt;
    return text;
}

QString ScriptedResponder::file(const FileRequest& r) {
    fileRequests.push_back(r);
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

void ScriptedResponder::beep() { ++beeps; }

QStringList ScriptedResponder::texts() const {
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

} // namespace plax::ui
