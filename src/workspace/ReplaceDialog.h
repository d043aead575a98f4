// The "Replace" dialog: the Find dialog's fields with a replace text of its own history, the
// prompt option and the "Replace &All" button.
#pragma once

#include "workspace/FindDialog.h"

namespace tarnwell {

class TdlgReplace : public TdlgFind {
    Q_OBJECT
  public:
    // How the dialog ended: "&OK" or "Replace &All" start a replace.
    static constexpr int replace_all_result = 2;

    explicit TdlgReplace(std::string input_ini, QWidget* parent = nullptr);

    QString replace_text() const;
    TBROXComboBox* replace_field() const { return cbReplaceText_; }
    // The Find dialog's options with replace, prompt when ticked, and replace all when the
    // dialog ended with "Replace &All".
    search_options replace_options() const;

  protected:
    void load_extra(const ini_file& ini) override;
    void store_extra(ini_file& ini) const override;

  private:
    TBROXComboBox* cbReplaceText_ = nullptr;
    QCheckBox* cbPrompt_ = nullptr;
};

}  // namespace tarnwell
