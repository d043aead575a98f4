#include "workspace/ReplacePromptDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tarnwell {

TdlgReplacePrompt::TdlgReplacePrompt(const QString& search_text, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Replace Prompt"));
    auto* layout = new QVBoxLayout(this);
    auto* question_row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    question_row->addWidget(icon);
    auto* question = new QLabel(tr("Replace this occurrence of \"%1\"?").arg(search_text), this);
    question->setObjectName(QStringLiteral("lblConfirmation"));
    question_row->addWidget(question, 1);
    layout->addLayout(question_row);
    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, prompt_answer> choices[] = {
        {"&Replace", prompt_answer::replace},
        {"&Skip", prompt_answer::skip},
        {"Replace &All", prompt_answer::replace_all},
        {"&Cancel", prompt_answer::cancel},
    };
    for (const auto& [caption, answer] : choices) {
        auto* button = new QPushButton(tr(caption), this);
        button->setDefault(answer == prompt_answer::replace);
        connect(button, &QPushButton::clicked, this, [this, chosen = answer] {
            answer_ = chosen;
            accept();
        });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
}

prompt_answer TdlgReplacePrompt::ask() {
    answer_ = prompt_answer::cancel;
    exec();
    return answer_;
}

}  // namespace tarnwell
