#include "saveasformdialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace aurelant {

SaveAsFormDialog::SaveAsFormDialog(SaveAsForm& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(QString::fromStdString(model.caption()));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(192, 255, 255));
    setPalette(background);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    auto* group = new QButtonGroup(this);
    for (std::size_t index = 0; index < options_.size(); ++index) {
        const SaveAsForm::Option& option = SaveAsForm::kOptions[index];
        auto* button = new QRadioButton(QString::fromUtf8(option.caption), this);
        button->setObjectName(option.name);
        button->setEnabled(model.optionEnabled(index));
        button->setChecked(model.optionSelected(index));
        group->addButton(button);
        layout->addWidget(button);
        options_[index] = button;
    }
    auto* buttonRow = new QHBoxLayout;
    for (const auto& [name, caption] :
         {std::pair{SaveAsForm::kProceed, "&Proceed"}, std::pair{SaveAsForm::kCancel, "&Cancel"}}) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, [this, name = name] { press(name); });
        buttonRow->addStretch();
        buttonRow->addWidget(button);
    }
    buttonRow->addStretch();
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order as the window has it: three options, the buttons, the last two options.
    QWidget* previous = options_[0];
    for (const char* name : {"htmloption", "csvoption", SaveAsForm::kProceed, SaveAsForm::kCancel,
                             "screenoption", "docoption"}) {
        QWidget* next = findChild<QWidget*>(name);
        setTabOrder(previous, next);
        previous = next;
    }
    for (QRadioButton* option : options_) {
        if (option->isEnabled()) {
            option->setFocus();
            break;
        }
    }
}

void SaveAsFormDialog::press(const char* button) {
    for (std::size_t index = 0; index < options_.size(); ++index) {
        if (options_[index]->isChecked()) {
            model_.choose(SaveAsForm::kOptions[index].name);
        }
    }
    model_.press(button);
    if (!model_.visible()) {
        accept();
    }
}

void SaveAsFormDialog::reject() {
    model_.hide();
    QDialog::reject();
}

}  // namespace aurelant
