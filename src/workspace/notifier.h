// The one way the workspace speaks to the user through modal boxes and file dialogs, and
// shows the wait cursor; tests put a scripted notifier in its place and answer the
// questions themselves.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QWidget;

namespace tarnwell {

enum class user_answer { yes, no, cancel };

class notifier {
  public:
    virtual ~notifier() = default;

    virtual void message(const QString& text) = 0;
    // A confirmation with Yes, No and, when `with_cancel`, Cancel.
    virtual user_answer ask(const QString& caption, const QString& text, bool with_cancel) = 0;
    // Open dialog for several files; empty when cancelled.
    virtual QStringList choose_open_files(const QString& filter) = 0;
    // Save dialog; nullopt when cancelled. It never asks about overwriting itself.
    virtual std::optional<QString> choose_save_file(const QString& file_name,
                                                    const QString& filter) = 0;
    // Shows a page (a help page, a web address) in the user's browser; false when none
    // could be started.
    virtual bool show_page(const QUrl& address) = 0;
    virtual void begin_wait() = 0;
    virtual void end_wait() = 0;
};

// The notifier of the running program: message boxes, file dialogs and the wait cursor
// over the given window.
class dialog_notifier : public notifier {
  public:
    explicit dialog_notifier(QWidget* window) : window_(window) {}

    void message(const QString& text) override;
    user_answer ask(const QString& caption, const QString& text, bool with_cancel) override;
    QStringList choose_open_files(const QString& filter) override;
    std::optional<QString> choose_save_file(const QString& file_name,
                                            const QString& filter) override;
    bool show_page(const QUrl& address) override;
    void begin_wait() override;
    void end_wait() override;

  private:
    QWidget* window_;
};

// Shows the wait cursor for as long as it lives, also when an error interrupts the work.
class wait_cursor {
  public:
    explicit wait_cursor(notifier& n) : notifier_(n) { notifier_.begin_wait(); }
    ~wait_cursor() { notifier_.end_wait(); }
    wait_cursor(const wait_cursor&) = delete;
    wait_cursor& operator=(const wait_cursor&) = delete;

  private:
    notifier& notifier_;
};

}  // namespace tarnwell
