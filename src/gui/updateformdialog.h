#pragma once

#include <QDialog>

#include "quotes/updateform.h"

namespace aurelant {

// The update form as Qt draws it: a view of the UpdateForm model.
class UpdateFormDialog : public QDialog {
    Q_OBJECT

  public:
    UpdateFormDialog(quotes::UpdateForm& model, QWidget* parent);

    // The close box is Cancel.
    void reject() override;

  private:
    void redraw();
    void forward(const char* control, bool isOption);

    quotes::UpdateForm& model_;
};

}  // namespace aurelant
