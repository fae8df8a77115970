#include "SetupParts.h"

#include "core/common/TypedBoxes.h"
#include "reports/screens/ScreenParts.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QStyle>
#include <QToolBar>
#include <QWidget>

namespace plax::setup {
namespace {

class EnterToTabFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                // A Tab in its place: the focus moves along the tab order.
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(watched, &tab);
                return true;
            }
        }
        return false;
    }
};

QStyle::StandardPixmap iconFor(const QString& key) {
    if (key == QLatin1String("New"))
        return QStyle::SP_FileIcon;
    if (key == QLatin1String("Update"))
        return QStyle::SP_DialogSaveButton;
    if (key == QLatin1String("Delete"))
        return QStyle::SP_TrashIcon;
    if (key == QLatin1String("Previous"))
        return QStyle::SP_ArrowBack;
    if (key == QLatin1String("Next"))
        return QStyle::SP_ArrowForward;
    if (key == QLatin1String("Search") || key == QLatin1String("Select"))
        return QStyle::SP_FileDialogContentsView;
    if (key == QLatin1String("Refresh"))
        return QStyle::SP_BrowserReload;
    if (key == QLatin1String("Preview") || key == QLatin1String("View"))
        return QStyle::SP_FileDialogDetailedView;
    return QStyle::SP_DialogCloseButton;
}

} // namespace

QToolBar* makeToolbar(QWidget* parent, const std::vector<ToolButton>& buttons,
                      const std::function<void(const QString& key)>& clicked) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolButton& b : buttons) {
        const QString key = QString::fromUtf8(b.key);
        if (key.isEmpty()) {
            bar->addSeparator();
            continue;
        }
        const QIcon icon = key == QLatin1String("Print") ? reports::printerIcon()
                                                         : parent->style()->standardIcon(iconFor(key));
        QAction* a = bar->addAction(icon, QString::fromUtf8(b.caption));
        a->setObjectName(key);
        a->setData(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        QObject::connect(a, &QAction::triggered, parent,
                         [parent, clicked, key] { runToolbarKey(parent, key, clicked); });
    }
    return bar;
}

void enterToTab(QWidget* field) { field->installEventFilter(new EnterToTabFilter(field)); }

QString listKey(const QString& entry) {
    const int blank = entry.indexOf(QLatin1Char(' '));
    return blank < 0 ? entry : entry.left(blank);
}

} // namespace plax::setup
