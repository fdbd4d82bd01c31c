#include "ui/StatsForm.h"

#include <QFrame>
#include <QPushButton>
#include <QTextEdit>

#include "ui/ImageList.h"
#include "ui/RichText.h"

namespace tesk {

StatsForm::StatsForm(const QString& userName, const RemoteTextLimits& limits, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      statsMemo_(new QTextEdit(this)),
      transcript_(statsMemo_, limits.transcriptBytes) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(images::applicationIcon());
    setWindowTitle("Statistics: " + userName);
    setFixedSize(330, 176);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setGeometry(248, 144, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    statsMemo_->setObjectName("StatsMemo");
    statsMemo_->setGeometry(8, 8, 313, 121);
    statsMemo_->setReadOnly(true);
    statsMemo_->setFrameShape(QFrame::NoFrame);
    statsMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    useFaceBackground(statsMemo_);
    moveCaretToEndOnFocusOut(statsMemo_);

    auto* line = new QFrame(this);
    line->setObjectName("Panel1");
    line->setGeometry(8, 136, 313, 1);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Dark);

    setTabOrder(ok, statsMemo_);
    ok->setFocus();
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
