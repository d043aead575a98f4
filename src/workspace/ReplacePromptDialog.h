// The question before each replacement when "&Prompt when Replace" is ticked.
#pragma once

#include <QDialog>

#include "workspace/search_engine.h"

namespace tarnwell {

class TdlgReplacePrompt : public QDialog {
    Q_OBJECT
  public:
    TdlgReplacePrompt(const QString& search_text, QWidget* parent = nullptr);

    // Shows the dialog modally and returns the answer of the button that closed it;
    // closing the dialog otherwise cancels.
    prompt_answer ask();

  private:
    prompt_answer answer_ = prompt_answer::cancel;
};

}  // namespace tarnwell
