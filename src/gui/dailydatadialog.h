#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "fiveday/dailydata.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace aurelant {

// The five-day panel as Qt draws it: a view of the DailyData model that forwards every press.
class DailyDataDialog : public QDialog {
    Q_OBJECT

  public:
    DailyDataDialog(DailyData& model, QWidget* parent);

    // Writes the typed texts into the model, presses the named button and redraws; closes the
    // dialog once the model has hidden itself.
    void press(const std::string& button);

    // Closing the window or pressing Escape closes the panel without a button's effect: unlike
    // Cancel, it leaves the mode flags as they are.
    void reject() override;

  private:
    void refresh();
    void focusEntry();

    DailyData& model_;
    std::map<std::string, QLineEdit*> boxes_;
    std::map<std::string, QPushButton*> buttons_;
    QLabel* prompt_ = nullptr;
};

}  // namespace aurelant
