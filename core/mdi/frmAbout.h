#pragma once
// The About box: the program's title, version and legal notice.

#include <QWidget>

class QLabel;
class QPushButton;

namespace plax {

class frmAbout : public QWidget {
    Q_OBJECT
public:
    frmAbout();

    // "Version " + major.minor.revision of the program.
    static QString versionText();

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool centred_ = false;
};

} // namespace plax
