#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "repredict/recalcform.h"

namespace aurelant {

// The re-prediction dialog as Qt draws it: the controls at their places, forwarding every press
// to the RecalcForm model.
class RecalcFormDialog : public QDialog {
    Q_OBJECT

  public:
    RecalcFormDialog(RecalcForm& model, QWidget* parent);

    // Writes the typed prices and the chosen option into the model, presses the named button
    // and redraws; closes the dialog once the model has hidden itself.
    void press(const std::string& button);

    // The close box and Escape act as Cancel.
    void reject() override;

  private:
    QWidget* addControl(const RecalcForm::Control& control);
    double stretch() const;
    void placeControls();
    void refresh();

    RecalcForm& model_;
    std::map<std::string, QWidget*> widgets_;
};

}  // namespace aurelant
