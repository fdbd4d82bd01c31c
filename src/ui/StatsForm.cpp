#include "ui/StatsForm.h"

#include <QFrame>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/ImageList.h"
#include "ui/RichText.h"
#include "ui/ScreenPlacement.h"

namespace tesk {

StatsForm::StatsForm(const QString& userName, const RemoteTextLimits& limits, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      statsMemo_(new QTextEdit(this)),
      transcript_(statsMemo_, limits.transcriptBytes) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(images::applicationIcon());
    setWindowTitle("Statistics: " + userName);
    // Opens small; the user may enlarge it to read "All" without scrolling.
    resize(330, 176);
    setMinimumSize(200, 120);

    statsMemo_->setObjectName("StatsMemo");
    statsMemo_->setReadOnly(true);
    statsMemo_->setFrameShape(QFrame::NoFrame);
    statsMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    useFaceBackground(statsMemo_);
    moveCaretToEndOnFocusOut(statsMemo_);

    auto* line = new QFrame(this);
    line->setObjectName("Panel1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Dark);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setFixedSize(75, 25);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 7, 7);
    layout->setSpacing(7);
    layout->addWidget(statsMemo_, 1);
    layout->addWidget(line);
    layout->addWidget(ok, 0, Qt::AlignRight);

    setTabOrder(ok, statsMemo_);
    ok->setFocus();
    placeOnHomeScreenWhenShown(this, Placement::Keep);
}

void StatsForm::addHeading(const QString& heading) {
    if (!statsMemo_->document()->isEmpty()) {
        transcript_.appendParagraph(QString(), Qt::black, true, 0);
    }
    transcript_.appendParagraph(heading, Qt::black, true, 0);
}

void StatsForm::addLine(const QString& line) {
    transcript_.appendParagraph(line, Qt::black, false, 8);
}

QString StatsForm::text() const {
    return statsMemo_->toPlainText();
}

}  // namespace tesk
