#include "PreviewWidget.h"

#include "PageRenderer.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace plax::print {

// One page drawn on a grey desk with a shadow.
class PageView : public QWidget {
public:
    PageView(PreviewWidget* owner, const Document* doc) : QWidget(nullptr), owner_(owner), doc_(doc) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(0x80, 0x84, 0x8a));
        setPalette(p);
    }
    static constexpr int kDesk = 16;
    void updateSize() {
        const double s = owner_->effectiveScale();
        setFixedSize(int(doc_->width * s) + 2 * kDesk, int(doc_->height * s) + 2 * kDesk);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const double s = owner_->effectiveScale();
        const QRectF paper(kDesk, kDesk, doc_->width * s, doc_->height * s);
        p.fillRect(paper.translated(4, 4), QColor(0x40, 0x40, 0x40));
        p.fillRect(paper, Qt::white);
        p.translate(kDesk, kDesk);
        paintPage(p, *doc_, owner_->currentPage(), s);
    }

private:
    PreviewWidget* owner_;
    const Document* doc_;
};

namespace {
QToolButton* button(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setToolTip(tip);
    b->setAccessibleName(tip); // "|<" and the like say nothing to a screen reader
    b->setAutoRaise(true);
    return b;
}
const int kZooms[] = {0, 50, 75, 100, 125, 150, 200};
} // namespace

PreviewWidget::PreviewWidget(std::shared_ptr<const Document> doc, QWidget* parent)
    : QWidget(parent), doc_(std::move(doc)) {
    setObjectName(QStringLiteral("ReportPreview"));
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    first_ = button(QStringLiteral("|<"), tr("First page"), this);
    prev_ = button(QStringLiteral("<"), tr("Previous page"), this);
    pageLabel_ = new QLabel(this);
    pageLabel_->setMinimumWidth(110);
    pageLabel_->setAlignment(Qt::AlignCenter);
    next_ = button(QStringLiteral(">"), tr("Next page"), this);
    last_ = button(QStringLiteral(">|"), tr("Last page"), this);
    zoomBox_ = new QComboBox(this);
    for (int z : kZooms)
        zoomBox_->addItem(z == 0 ? tr("Page width") : QStringLiteral("%1%").arg(z), z);
    printBtn_ = button(tr("Print..."), tr("Print the report"), this);
    closeBtn_ = button(tr("Close"), tr("Close the preview"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{first_, prev_, pageLabel_, next_, last_})
        bar->addWidget(w);
    bar->addSpacing(16);
    bar->addWidget(new QLabel(tr("Zoom:"), this));
    bar->addWidget(zoomBox_);
    bar->addStretch(1);
    bar->addWidget(printBtn_);
    bar->addWidget(closeBtn_);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PageView(this, doc_.get());
    scroll_->setWidget(view_);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll_->viewport()->installEventFilter(this);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addLayout(bar);
    v->addWidget(scroll_, 1);

    connect(first_, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(prev_, &QToolButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(next_, &QToolButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(last_, &QToolButton::clicked, this, [this] { showPage(pageCount() - 1); });
    connect(zoomBox_, &QComboBox::currentIndexChanged, this, &PreviewWidget::zoomChosen);
    connect(printBtn_, &QToolButton::clicked, this, [this] {
        if (print_)
            print_();
    });
    connect(closeBtn_, &QToolButton::clicked, this, &PreviewWidget::closeWindow);

    // Follow the parent's size, and notice when the window around us closes.
    for (QWidget* w = parent; w; w = w->parentWidget()) {
        w->installEventFilter(this);
        if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w))
            break;
    }
    if (parent)
        setGeometry(parent->rect());
    refresh();
}

int PreviewWidget::pageCount() const { return int(doc_->pages.size()); }

void PreviewWidget::showPage(int index) {
    page_ = std::clamp(index, 0, std::max(0, pageCount() - 1));
    refresh();
    scroll_->verticalScrollBar()->setValue(0);
}

void PreviewWidget::setZoom(int percent) {
    for (int i = 0; i < zoomBox_->count(); ++i)
        if (zoomBox_->itemData(i).toInt() == percent) {
            zoomBox_->setCurrentIndex(i);
            return;
        }
    zoom_ = percent;
    refresh();
}

void PreviewWidget::zoomChosen(int index) {
    zoom_ = zoomBox_->itemData(index).toInt();
    refresh();
}

double PreviewWidget::effectiveScale() const {
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    if (zoom_ > 0)
        return zoom_ / 100.0 * dpi / kTwipsPerInch;
    const double avail = std::max(200, scroll_->viewport()->width() - 2 * PageView::kDesk);
    return avail / doc_->width;
}

void PreviewWidget::refresh() {
    const int n = pageCount();
    pageLabel_->setText(tr("Page %1 of %2").arg(n == 0 ? 0 : page_ + 1).arg(n));
    first_->setEnabled(page_ > 0);
    prev_->setEnabled(page_ > 0);
    next_->setEnabled(page_ < n - 1);
    last_->setEnabled(page_ < n - 1);
    view_->updateSize();
}

void PreviewWidget::closeWindow() {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w) || w->isWindow()) {
            w->close();
            return;
        }
    close();
    closed_ = true;
}

bool PreviewWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close)
        closed_ = true;
    if (event->type() == QEvent::Resize && watched == parentWidget())
        setGeometry(parentWidget()->rect());
    if (event->type() == QEvent::Resize && watched == scroll_->viewport() && zoom_ == 0)
        view_->updateSize();
    return QWidget::eventFilter(watched, event);
}

void PreviewWidget::closeEvent(QCloseEvent* e) {
    closed_ = true;
    QWidget::closeEvent(e);
}

void PreviewWidget::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_PageDown:
        showPage(page_ + 1);
        break;
    case Qt::Key_PageUp:
        showPage(page_ - 1);
        break;
    case Qt::Key_Home:
        if (e->modifiers() & Qt::ControlModifier)
            showPage(0);
        break;
    case Qt::Key_End:
        if (e->modifiers() & Qt::ControlModifier)
            showPage(pageCount() - 1);
        break;
    default:
        QWidget::keyPressEvent(e);
    }
}

} // namespace plax::print
