#include "workspace/search_commands.h"

#include <Qsci/qsciscintilla.h>

#include "workspace/FindDialog.h"
#include "workspace/ReplaceDialog.h"
#include "workspace/ReplacePromptDialog.h"
#include "workspace/notifier.h"
#include "workspace/umainform.h"

namespace tarnwell {

namespace {

using base = QsciScintillaBase;

// The status panel for what a command has just done.
constexpr int hint_panel = TMainform::status_panel_count - 1;

QString replaced_text(int count) {
    return count == 1 ? QStringLiteral(" 1 occurrence replaced")
                      : QStringLiteral(" %1 occurrences replaced").arg(count);
}

// The editor's text searched through the component's target range, so that a search never
// disturbs the selection or the component's own find state.
class editor_search_text : public search_text {
  public:
    explicit editor_search_text(QsciScintilla& editor) : editor_(editor) {}

    long length() const override { return editor_.SendScintilla(base::SCI_GETLENGTH); }
    unsigned char byte_at(long pos) const override {
        return static_cast<unsigned char>(editor_.SendScintilla(base::SCI_GETCHARAT, pos));
    }
    std::optional<byte_range> find(std::string_view pattern, long from, long to, bool match_case,
                                   bool backwards) const override {
        editor_.SendScintilla(base::SCI_SETSEARCHFLAGS, match_case ? base::SCFIND_MATCHCASE : 0);
        // A target from its end to its start searches backwards.
        editor_.SendScintilla(base::SCI_SETTARGETRANGE, backwards ? to : from,
                              backwards ? from : to);
        const long found = editor_.SendScintilla(
            base::SCI_SEARCHINTARGET, static_cast<unsigned long>(pattern.size()), pattern.data());
        if (found < 0) return std::nullopt;
        return byte_range{found, editor_.SendScintilla(base::SCI_GETTARGETEND)};
    }
    void replace(byte_range range, std::string_view text) override {
        editor_.SendScintilla(base::SCI_SETTARGETRANGE, range.begin, range.end);
        editor_.SendScintilla(base::SCI_REPLACETARGET, static_cast<unsigned long>(text.size()),
                              text.data());
    }
    long anchor() const override { return editor_.SendScintilla(base::SCI_GETANCHOR); }
    long caret() const override { return editor_.SendScintilla(base::SCI_GETCURRENTPOS); }
    void select(long anchor, long caret) override {
        editor_.SendScintilla(base::SCI_SETSEL, anchor, caret);
    }
    void begin_edit() override { editor_.SendScintilla(base::SCI_BEGINUNDOACTION); }
    void end_edit() override { editor_.SendScintilla(base::SCI_ENDUNDOACTION); }

  private:
    QsciScintilla& editor_;
};

// The text as the editor holds it: UTF-8, or Latin-1 for a file that is not UTF-8.
std::string editor_bytes(const QsciScintilla& editor, const QString& text) {
    return (editor.isUtf8() ? text.toUtf8() : text.toLatin1()).toStdString();
}

QString shown_text(const QsciScintilla& editor, const std::string& bytes) {
    const QByteArray raw = QByteArray::fromStdString(bytes);
    return editor.isUtf8() ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
}

std::string all_bytes(const QsciScintilla& editor) {
    const long length = editor.SendScintilla(base::SCI_GETLENGTH);
    const auto* text =
        static_cast<const char*>(editor.SendScintillaPtrResult(base::SCI_GETCHARACTERPOINTER));
    return text == nullptr ? std::string() : std::string(text, static_cast<std::size_t>(length));
}

}  // namespace

search_commands::search_commands(notifier& messages, std::string input_ini, QWidget* window)
    : messages_(messages), input_ini_(std::move(input_ini)), window_(window) {
    prompt_ = [this](const QString& search_text) {
        return TdlgReplacePrompt(search_text, window_).ask();
    };
}

QString initial_search_text(const QsciScintilla& editor) {
    const long anchor = editor.SendScintilla(base::SCI_GETANCHOR);
    const long caret = editor.SendScintilla(base::SCI_GETCURRENTPOS);
    return shown_text(editor, initial_search_text(all_bytes(editor), anchor, caret));
}

void search_commands::EditFindExecute(QsciScintilla* editor) {
    if (editor == nullptr) return;
    TdlgFind dialog(input_ini_, window_);
    dialog.set_search_text(initial_search_text(*editor));
    if (dialog.exec() != QDialog::Accepted) return;
    find(editor, dialog.search_text(), dialog.options());
}

void search_commands::EditReplaceExecute(QsciScintilla* editor) {
    if (editor == nullptr) return;
    TdlgReplace dialog(input_ini_, window_);
    dialog.set_search_text(initial_search_text(*editor));
    if (dialog.exec() == QDialog::Rejected) return;
    replace(editor, dialog.search_text(), dialog.replace_text(), dialog.replace_options());
}

void search_commands::EditFindNextExecute(QsciScintilla* editor) {
    if (editor != nullptr) find_next(editor);
}

search_outcome search_commands::find(QsciScintilla* editor, const QString& text,
                                     const search_options& options) {
    last_.text = editor_bytes(*editor, text);
    editor_search_text target(*editor);
    return reported(remembered_search(target, last_, last_.text, {}, options));
}

search_outcome search_commands::replace(QsciScintilla* editor, const QString& text,
                                        const QString& replacement, const search_options& options) {
    const std::string pattern = editor_bytes(*editor, text);
    editor_search_text target(*editor);
    const replace_prompt ask = [this, &text](byte_range) { return prompt_(text); };
    const search_outcome outcome = reported(remembered_search(
        target, last_, pattern, editor_bytes(*editor, replacement), options, ask));
    // A replace all shows nothing of what it did outside the view; the count tells.
    if (auto* main = qobject_cast<TMainform*>(window_); main != nullptr && outcome.found > 0) {
        main->set_status_panel(hint_panel, replaced_text(outcome.replaced));
    }
    return outcome;
}

search_outcome search_commands::find_next(QsciScintilla* editor) {
    editor_search_text target(*editor);
    return reported(tarnwell::find_next(target, last_));
}

search_outcome search_commands::reported(search_outcome outcome) {
    if (outcome.found == 0) messages_.message(QString::fromLatin1(string_not_found_message));
    return outcome;
}

}  // namespace tarnwell
