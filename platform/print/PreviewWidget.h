#pragma once
// The report preview: the pages of a job with page navigation, zoom and a
// print button. It fills its parent window and follows its size.

#include "PageModel.h"

#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace plax::print {

class PageView;

class PreviewWidget : public QWidget {
    Q_OBJECT
public:
    PreviewWidget(std::shared_ptr<const Document> doc, QWidget* parent);

    int pageCount() const;
    int currentPage() const { return page_; } // 0-based
    void showPage(int index);
    // Zoom in percent; 0 = fit the page width.
    void setZoom(int percent);
    int zoom() const { return zoom_; }
    double effectiveScale() const;

    void setPrintAction(std::function<void()> action) { print_ = std::move(action); }
    // Closes the window the preview lives in (its MDI child, or itself).
    void closeWindow();
    // True once that window has been closed.
    bool isClosed() const { return closed_; }

    QToolButton* firstButton() const { return first_; }
    QToolButton* previousButton() const { return prev_; }
    QToolButton* nextButton() const { return next_; }
    QToolButton* lastButton() const { return last_; }
    QToolButton* printButton() const { return printBtn_; }
    QToolButton* closeButton() const { return closeBtn_; }
    QComboBox* zoomBox() const { return zoomBox_; }
    QLabel* pageLabel() const { return pageLabel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void refresh();
    void zoomChosen(int index);

    std::shared_ptr<const Document> doc_;
    int page_ = 0;
    int zoom_ = 0;
    bool closed_ = false;
    std::function<void()> print_;
    QToolButton *first_, *prev_, *next_, *last_, *printBtn_, *closeBtn_;
    QLabel* pageLabel_;
    QComboBox* zoomBox_;
    QScrollArea* scroll_;
    PageView* view_;
};

} // namespace plax::print
