#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;

namespace tesk {

// The about box: name, version, rights, contact address, home page, acknowledgements and
// licence. Created once and hidden; exec() shows it modally and OK or closing hides it.
// Clicking a link hands its address to the opener and leaves the box open.
class AboutForm : public QDialog {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // An empty opener means QDesktopServices::openUrl.
    explicit AboutForm(QWidget* parent = nullptr, UrlOpener opener = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UrlOpener opener_;
    QLabel* emailLink_;
    QLabel* webpageLink_;
};

}  // namespace tesk
