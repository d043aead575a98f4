#include "workspace/GotoLineDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <algorithm>

#include "workspace/mysynedit.h"

namespace tarnwell {

TdlgGotoLine::TdlgGotoLine(int current_line, int last_line, QWidget* parent)
    : QDialog(parent), line_(new QSpinBox(this)) {
    setWindowTitle(tr("Go to Line"));
    setObjectName(QStringLiteral("dlgGotoLine"));
    const int last = std::max(1, last_line);
    line_->setRange(1, last);
    line_->setValue(std::clamp(current_line, 1, last));
    line_->setObjectName(QStringLiteral("edLine"));
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Line number (1 - %1):").arg(last), line_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    // The number is typed over at once: the whole proposed value is selected.
    line_->selectAll();
    line_->setFocus();
}

int TdlgGotoLine::line() const {
    return line_->value();
}

bool TdlgGotoLine::go_to_line(TMySynEdit& editor, QWidget* parent) {
    TdlgGotoLine dialog(editor.caret().line, editor.line_count(), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    editor.go_to_line(dialog.line());
    return true;
}

}  // namespace tarnwell
