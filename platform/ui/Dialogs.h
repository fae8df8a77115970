#pragma once
// Every message box, input box, beep, file dialog and wait cursor of both
// programs goes through here. Tests install a Responder that records what
// was shown and answers it, so no test ever waits on a modal window.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace plax::ui {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Information, Exclamation, Critical, Question };
// Numbered as the message-box answers always were.
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;
    QString title;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultText;
    // The box's top-left corner in twips (15 to a pixel) from the screen's
    // top-left corner; none: centred over the program.
    std::optional<QPoint> position;
};

struct FileRequest {
    bool save = false;
    QString title;
    QString filter;      // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"
    int filterIndex = 1; // 1-based, as the filter string counts
    QString initialDir;
    QString fileName;
    bool mustExist = false;
    bool overwritePrompt = false;
};

// What stands between the program and the real windows.
class Responder {
public:
    virtual ~Responder() = default;
    virtual Answer message(const MessageRequest& r) = 0;
    // nullopt = Cancel.
    virtual std::optional<QString> input(const InputRequest& r) = 0;
    // Empty = Cancel.
    virtual QString file(const FileRequest& r) = 0;
    virtual void beep() = 0;
};

// Install a responder (tests); nullptr restores the real windows.
void setResponder(Responder* r);
Responder* responder();

// The title every box gets when none is given: the program's title.
QString appTitle();
void setParentWindow(QWidget* w);

Answer MsgBox(const QString& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
              const QString& title = QString());
// Returns the text typed, or an empty text on Cancel (as the input box always did).
// `position`: see InputRequest.
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString(),
                 std::optional<QPoint> position = std::nullopt);
// Like InputBox but tells Cancel apart from an empty answer.
std::optional<QString> InputBoxEx(const QString& prompt, const QString& title = QString(),
                                  const QString& defaultText = QString(),
                                  std::optional<QPoint> position = std::nullopt);
void Beep();
// Returns the chosen path, or empty on Cancel.
QString ShowFileDialog(const FileRequest& r);

// One entry of a filter string: its caption as written and its patterns.
struct FileFilter {
    QString caption;
    QStringList patterns;
};
// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" -> caption and pattern pairs.
std::vector<FileFilter> parseFileFilter(const QString& filter);
// The filters as the file dialog lists them: each caption as written; a
// caption that names no patterns in parentheses gets its own appended.
QStringList vbFilterToQt(const QString& vbFilter);

// The hourglass for the length of a scope.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
// True while a WaitCursor is alive (tests check long work shows it).
bool waitCursorShown();

// A responder for tests: records every box and answers from queues.
// With an empty queue a message box answers its first button, an input box
// Cancel, and a file dialog Cancel.
class ScriptedResponder : public Responder {
public:
    ScriptedResponder();
    ~ScriptedResponder() override;

    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> files;

    std::vector<MessageRequest> messages;
    std::vector<InputRequest> inputRequests;
    std::vector<FileRequest> fileRequests;
    int beeps = 0;

    Answer message(const MessageRequest& r) override;
    std::optional<QString> input(const InputRequest& r) override;
    QString file(const FileRequest& r) override;
    void beep() override;

    // The texts of all message boxes shown, in order.
    QStringList texts() const;
    const MessageRequest* last() const { return messages.empty() ? nullptr : &messages.back(); }

private:
    Responder* previous_;
};

} // namespace plax::ui
