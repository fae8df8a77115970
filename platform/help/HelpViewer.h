#pragma once
// The help viewer window: contents and search on the left, the topic on
// the right. Opened through WinHelp().

#include "WinHelp.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace plax::help {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    HelpViewer(const QString& path, HelpFile file, QWidget* owner);

    const QString& path() const { return path_; }
    QWidget* owner() const { return owner_; }
    const QString& currentTopic() const { return current_; }

    void showContents();
    // The contents list with the first topic (the contents page) shown.
    void showHome();
    void showSearch();
    bool showTopic(const QString& id);
    bool showContext(int context);

    QTabWidget* tabs = nullptr;
    QListWidget* lstContents = nullptr;
    QLineEdit* txtSearch = nullptr;
    QListWidget* lstSearch = nullptr;
    QTextBrowser* txtTopic = nullptr;

private:
    void fillSearch(const QString& text);

    QString path_;
    HelpFile file_;
    QPointer<QWidget> owner_;
    QString current_;
};

} // namespace plax::help
