#include "HelpViewer.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace plax::help {

HelpViewer::HelpViewer(const QString& path, HelpFile file, QWidget* owner)
    : path_(path), file_(std::move(file)), owner_(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(file_.title.isEmpty() ? QStringLiteral("Help") : file_.title);
    resize(820, 560);

    tabs = new QTabWidget;
    lstContents = new QListWidget;
    for (const Topic& t : file_.topics) {
        auto* item = new QListWidgetItem(t.title, lstContents);
        item->setData(Qt::UserRole, t.id);
    }
    tabs->addTab(lstContents, QStringLiteral("Contents"));

    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    txtSearch = new QLineEdit;
    txtSearch->setPlaceholderText(QStringLiteral("Type the first letters of a word"));
    lstSearch = new QListWidget;
    searchLayout->addWidget(txtSearch);
    searchLayout->addWidget(lstSearch);
    tabs->addTab(searchPage, QStringLiteral("Search"));

    txtTopic = new QTextBrowser;
    txtTopic->setOpenLinks(false);

    auto* split = new QSplitter;
    split->addWidget(tabs);
    split->addWidget(txtTopic);
    split->setStretchFactor(1, 3);
    // The contents pane wide enough for its longest title, within reason.
    const int listWidth = std::min(lstContents->sizeHintForColumn(0) + 2 * lstContents->frameWidth() +
                                       lstContents->verticalScrollBar()->sizeHint().width() + 24,
                                   width() / 2);
    split->setSizes({listWidth, width() - listWidth});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(split);

    const auto open = [this](QListWidgetItem* item) {
        if (item)
            showTopic(item->data(Qt::UserRole).toString());
    };
    connect(lstContents, &QListWidget::itemActivated, this, open);
    connect(lstContents, &QListWidget::itemClicked, this, open);
    connect(lstSearch, &QListWidget::itemActivated, this, open);
    connect(lstSearch, &QListWidget::itemClicked, this, open);
    connect(txtSearch, &QLineEdit::textChanged, this, &HelpViewer::fillSearch);
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] {
        if (lstSearch->count() > 0)
            showTopic(lstSearch->item(0)->data(Qt::UserRole).toString());
    });
    connect(txtTopic, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme().isEmpty() || url.scheme() == QLatin1String("help"))
            showTopic(url.fragment().isEmpty() ? url.path() : url.fragment());
    });
    fillSearch(QString());

    // Escape and Ctrl+W close the viewer, as they close help windows
    // elsewhere; the search box and the lists take neither key themselves.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
}

void HelpViewer::fillSearch(const QString& text) {
    lstSearch->clear();
    const auto hits = file_.search(text);
    QHash<QString, int> uses;
    for (const auto& hit : hits)
        ++uses[hit.first.toLower()];
    for (const auto& [entry, id] : hits) {
        // A word that leads to several topics names the topic of each line.
        QString shown = entry;
        if (uses.value(entry.toLower()) > 1)
            if (const Topic* t = file_.byId(id); t && t->title.compare(entry, Qt::CaseInsensitive) != 0)
                shown += QStringLiteral(" - ") + t->title;
        auto* item = new QListWidgetItem(shown, lstSearch);
        item->setData(Qt::UserRole, id);
    }
}

void HelpViewer::showContents() {
    tabs->setCurrentIndex(0);
    if (current_.isEmpty() && !file_.topics.empty())
        showTopic(file_.topics.front().id);
    lstContents->setFocus();
}

void HelpViewer::showHome() {
    tabs->setCurrentIndex(0);
    if (!file_.topics.empty())
        showTopic(file_.topics.front().id);
    lstContents->setFocus();
}

void HelpViewer::showSearch() {
    tabs->setCurrentIndex(1);
    if (current_.isEmpty() && !file_.topics.empty())
        showTopic(file_.topics.front().id);
    txtSearch->setFocus();
    txtSearch->selectAll();
}

bool HelpViewer::showTopic(const QString& id) {
    const Topic* t = file_.byId(id);
    if (!t)
        return false;
    current_ = t->id;
    txtTopic->setHtml(t->html);
    for (int i = 0; i < lstContents->count(); ++i)
        if (lstContents->item(i)->data(Qt::UserRole).toString() == t->id)
            lstContents->setCurrentRow(i);
    return true;
}

bool HelpViewer::showContext(int context) {
    const Topic* t = file_.byContext(context);
    return t && showTopic(t->id);
}

} // namespace plax::help
