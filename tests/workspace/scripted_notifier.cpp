#include "scripted_notifier.h"

#include <gtest/gtest.h>

namespace tarnwell {

user_answer scripted_notifier::ask(const QString& caption, const QString& text, bool) {
    question_captions.push_back(caption);
    questions.push_back(text);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return user_answer::cancel;
    }
    const user_answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> scripted_notifier::choose_save_file(const QString& file_name,
                                                           const QString& filter) {
    save_suggestions.push_back(file_name);
    save_filters.push_back(filter);
    if (save_names.empty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return std::nullopt;
    }
    const std::optional<QString> name = save_names.front();
    save_names.pop_front();
    return name;
}

}  // namespace tarnwell
