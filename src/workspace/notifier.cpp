#include "workspace/notifier.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace tarnwell {

namespace {

// A box that waits for the user shows the ordinary pointer, also while the work that asks
// shows the wait cursor.
class pointer_while_asking {
  public:
    pointer_while_asking() : waiting_(QApplication::overrideCursor() != nullptr) {
        if (waiting_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~pointer_while_asking() {
        if (waiting_) QApplication::restoreOverrideCursor();
    }
    pointer_while_asking(const pointer_while_asking&) = delete;
    pointer_while_asking& operator=(const pointer_while_asking&) = delete;

  private:
    bool waiting_;
};

}  // namespace

void dialog_notifier::message(const QString& text) {
    const pointer_while_asking pointer;
    QMessageBox::information(window_, QApplication::applicationName(), text);
}

user_answer dialog_notifier::ask(const QString& caption, const QString& text, bool with_cancel) {
    const pointer_while_asking pointer;
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (with_cancel) buttons |= QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        window_, caption.isEmpty() ? QApplication::applicationName() : caption, text, buttons,
        QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return user_answer::yes;
    if (answer == QMessageBox::No) return user_answer::no;
    return with_cancel ? user_answer::cancel : user_answer::no;
}

QStringList dialog_notifier::choose_open_files(const QString& filter) {
    return QFileDialog::getOpenFileNames(window_, QString(), QString(), filter);
}

std::optional<QString> dialog_notifier::choose_save_file(const QString& file_name,
                                                         const QString& filter) {
    const pointer_while_asking pointer;
    const QString chosen = QFileDialog::getSaveFileName(window_, QString(), file_name, filter,
                                                        nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

bool dialog_notifier::show_page(const QUrl& address) {
    return QDesktopServices::openUrl(address);
}

void dialog_notifier::begin_wait() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void dialog_notifier::end_wait() {
    QApplication::restoreOverrideCursor();
}

}  // namespace tarnwell
