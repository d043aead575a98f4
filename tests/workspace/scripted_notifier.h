// A notifier that answers from a script and records what the window said and asked.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "workspace/notifier.h"

namespace tarnwell {

class scripted_notifier : public notifier {
  public:
    void message(const QString& text) override { messages.push_back(text); }
    user_answer ask(const QString& caption, const QString& text, bool with_cancel) override;
    QStringList choose_open_files(const QString&) override { return open_files; }
    std::optional<QString> choose_save_file(const QString& file_name,
                                            const QString& filter) override;
    bool show_page(const QUrl& address) override {
        pages.push_back(address);
        return pages_open;
    }
    void begin_wait() override { ++waits; }
    void end_wait() override { --waits; }

    std::deque<user_answer> answers;
    std::deque<std::optional<QString>> save_names;
    QStringList open_files;
    // Whether an application could be started for a page.
    bool pages_open = true;

    std::vector<QString> messages;
    std::vector<QString> questions;
    std::vector<QString> question_captions;
    std::vector<QString> save_filters;
    std::vector<QString> save_suggestions;
    std::vector<QUrl> pages;
    int waits = 0;
};

}  // namespace tarnwell
