#pragma once
// The two-list field picker of the export and import screens: fields not
// chosen on the left (`lstAvailable`), chosen fields on the right
// (`lstToExport`, top to bottom = column order in the file), with the
// buttons ">", ">>", "<", "<<" and double-click to move fields across.

#include <QStringList>
#include <QWidget>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace plax::exchange {

// Appends the selected items of `from` to the end of `to` in their order,
// then removes them from `from`.
void moveSelected(QListWidget* from, QListWidget* to);
// Appends every item of `from` to the end of `to`, then empties `from`.
void moveAll(QListWidget* from, QListWidget* to);
// Moves one item of `from` to the end of `to`.
void moveItem(QListWidget* from, QListWidgetItem* item, QListWidget* to);

QStringList itemTexts(const QListWidget* list);

class FieldPicker : public QWidget {
    Q_OBJECT
public:
    FieldPicker(const QString& availableCaption, const QString& chosenCaption, QWidget* parent = nullptr);

    // Empties both lists and offers `captions`, in order, as available.
    void LoadFieldList(const QStringList& captions);
    QStringList chosen() const { return itemTexts(lstToExport_); }

    QListWidget* lstAvailable() const { return lstAvailable_; }
    QListWidget* lstToExport() const { return lstToExport_; }

private:
    QListWidget* lstAvailable_;
    QListWidget* lstToExport_;
    QPushButton* cmdInsert_;
    QPushButton* cmdToExport_;
    QPushButton* cmdDelete_;
    QPushButton* cmdAvailable_;
};

} // namespace plax::exchange
