// The explorer options dialog: whether the explorer shows itself, how it sorts, and the
// order, visibility and expansion of its categories.
#pragma once

#include <QDialog>
#include <vector>

#include "explorer/explorer_options.h"

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QRadioButton;

namespace tarnwell {

class TfrmExplorerOptions : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmExplorerOptions(QWidget* parent = nullptr);

    void load(const TCodeExplorerProperties& properties);
    void save(TCodeExplorerProperties& properties) const;

    // The categories list as it stands: names in list order, checks and states.
    std::vector<category_option> category_list() const;
    // The state of an item: collapsed (false) or expanded (true), shown by its picture.
    void set_expanded(QListWidgetItem* item, bool expanded);
    QListWidget* categories() const { return lstExpOptions_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class item_part { none, check, state };
    item_part part_at(QListWidgetItem* item, QPoint at) const;

    QCheckBox* chkAutoExplorer_ = nullptr;
    QCheckBox* chkDeclarationSyntax_ = nullptr;
    QRadioButton* radAlphaSort_ = nullptr;
    QRadioButton* radSourceSort_ = nullptr;
    QListWidget* lstExpOptions_ = nullptr;
};

}  // namespace tarnwell
