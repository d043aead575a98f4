#include "classwin/uTraceForm.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tarnwell {

namespace {
// Long runs trace a line per file and type; the oldest lines go first.
constexpr int MaxTraceLines = 20000;
}  // namespace

TTraceForm::TTraceForm(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName(QStringLiteral("TraceForm"));
    setWindowTitle(tr("Trace"));
    lines_ = new QPlainTextEdit(this);
    lines_->setReadOnly(true);
    lines_->setMaximumBlockCount(MaxTraceLines);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lines_);
    resize(520, 300);
}

void TTraceForm::TraceLine(std::string_view line) {
    lines_->appendPlainText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    // Closing it only hides it; the next line brings it back.
    if (!isVisible()) show();
}

QString TTraceForm::Text() const {
    return lines_->toPlainText();
}

}  // namespace tarnwell
