#pragma once
// "Report Preview Window": a child window of the main window that hosts a
// report preview. The print engine creates its preview widget with this
// window as parent; the first child widget is kept filling the window.

#include <QWidget>

namespace plax {

class frmChild : public QWidget {
    Q_OBJECT
public:
    // A new preview window: a child of the main window's document area when
    // there is one, else a window of its own. Not shown yet; show it with
    // showWindow() once the preview is inside. Deleted when closed.
    static frmChild* create();

    // Shows the window (its document-area frame too) and brings it forward.
    void showWindow();
    // The first child widget (the preview), or nullptr.
    QWidget* firstChild() const;
    // Moves the first child to fill the window.
    void fitChild();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    frmChild();
};

} // namespace plax
