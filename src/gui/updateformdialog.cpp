#include "updateformdialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "formdialogs.h"

namespace aurelant {

using quotes::UpdateForm;

UpdateFormDialog::UpdateFormDialog(UpdateForm& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(QString::fromStdString(model.caption()));
    auto* layout = new QVBoxLayout(this);
    for (const char* name :
         {UpdateForm::kYahoo, UpdateForm::kBinance, UpdateForm::kAlphaVantage, UpdateForm::kUrl}) {
        auto* option = new QRadioButton(this);
        option->setObjectName(name);
        connect(option, &QRadioButton::clicked, this, [this, name] { forward(name, true); });
        layout->addWidget(option);
    }
    auto* boxes = new QFormLayout;
    auto* symbol = new QLineEdit(this);
    symbol->setObjectName(UpdateForm::kSymbol);
    symbol->setMinimumWidth(360);
    auto* key = new QLineEdit(this);
    key->setObjectName(UpdateForm::kKey);
    key->setEchoMode(QLineEdit::Password);
    boxes->addRow("&Symbol or address:", symbol);
    boxes->addRow("&Key:", key);
    layout->addLayout(boxes);
    auto* note = new QLabel(this);
    note->setObjectName(UpdateForm::kNote);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (const char* name : {UpdateForm::kUpdate, UpdateForm::kCancel}) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        button->setDefault(name == UpdateForm::kUpdate);
        connect(button, &QPushButton::clicked, this, [this, name] { forward(name, false); });
        buttonRow->addWidget(button);
    }
    layout->addLayout(buttonRow);
    redraw();
}

void UpdateFormDialog::forward(const char* control, bool isOption) {
    for (const char* box : {UpdateForm::kSymbol, UpdateForm::kKey}) {
        model_.setText(box, findChild<QLineEdit*>(box)->text().toStdString());
    }
    forwardToForm(*this, model_, control, isOption, [this] { redraw(); });
}

void UpdateFormDialog::redraw() {
    drawControls(*this, model_.controls());
}

void UpdateFormDialog::reject() {
    model_.cancelcommand_click();
    QDialog::reject();
}

}  // namespace aurelant
