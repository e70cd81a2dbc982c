#pragma once

#include <QDialog>
#include <array>

#include "output/saveasform.h"

class QRadioButton;

namespace aurelant {

// The save-as choice dialog as Qt draws it: a view of the SaveAsForm model.
class SaveAsFormDialog : public QDialog {
    Q_OBJECT

  public:
    SaveAsFormDialog(SaveAsForm& model, QWidget* parent);

    // Writes the chosen option into the model, presses the named button and closes the dialog
    // once the model has hidden itself.
    void press(const char* button);

    // The close box leaves the choice as it was.
    void reject() override;

  private:
    SaveAsForm& model_;
    std::array<QRadioButton*, SaveAsForm::kOptions.size()> options_{};
};

}  // namespace aurelant
