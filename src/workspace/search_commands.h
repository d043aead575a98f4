// Find, Find Next and Replace on an editor: the dialogs, the last search they leave for
// Find Next, the replace prompt, and "string not found ".
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "workspace/search_engine.h"

class QWidget;
class QsciScintilla;

namespace tarnwell {

class notifier;

class search_commands {
  public:
    // Asks about one occurrence, the editor showing it selected.
    using prompt_factory = std::function<prompt_answer(const QString& search_text)>;

    // The dialogs keep their histories and options in the file at `input_ini`; the replace
    // prompt is the prompt dialog over `window` unless another is given.
    search_commands(notifier& messages, std::string input_ini, QWidget* window);

    void set_prompt(prompt_factory prompt) { prompt_ = std::move(prompt); }
    // The search text and options Find Next goes on with.
    last_search& last() { return last_; }

    // The commands with their dialogs.
    void EditFindExecute(QsciScintilla* editor);
    void EditReplaceExecute(QsciScintilla* editor);
    void EditFindNextExecute(QsciScintilla* editor);

    // The steps after the dialogs: each remembers what Find Next needs and says
    // "string not found " when nothing was found; a replace puts the number of occurrences it
    // replaced in the status bar when `window` is the main window.
    search_outcome find(QsciScintilla* editor, const QString& text, const search_options& options);
    search_outcome replace(QsciScintilla* editor, const QString& text, const QString& replacement,
                           const search_options& options);
    search_outcome find_next(QsciScintilla* editor);

  private:
    search_outcome reported(search_outcome outcome);

    notifier& messages_;
    std::string input_ini_;
    QWidget* window_;
    prompt_factory prompt_;
    last_search last_;
};

// The initial text of the dialogs, taken from the editor's selection or the word at its caret.
QString initial_search_text(const QsciScintilla& editor);

}  // namespace tarnwell
