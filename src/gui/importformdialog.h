#pragma once

#include <QDialog>
#include <vector>

#include "import/importform.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace aurelant {

// The import's preview as Qt draws it: a view of the ImportForm model.
class ImportFormDialog : public QDialog {
    Q_OBJECT

  public:
    ImportFormDialog(import::ImportForm& model, QWidget* parent);

    // The close box is Cancel.
    void reject() override;

  private:
    // Options that exclude each other, one under the other.
    void addOptionGroup(const std::vector<const char*>& names);
    void redraw();
    void forward(const char* control, bool isOption);

    import::ImportForm& model_;
    QLabel* evidence_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace aurelant
