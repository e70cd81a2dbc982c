#include "importformdialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "formdialogs.h"
#include "textconversion.h"

namespace aurelant {

using import::ImportForm;

ImportFormDialog::ImportFormDialog(ImportForm& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(QString::fromStdString(model.caption()));
    auto* layout = new QVBoxLayout(this);

    evidence_ = new QLabel(this);
    evidence_->setObjectName(ImportForm::kEvidence);
    evidence_->setWordWrap(true);
    layout->addWidget(evidence_);

    preview_ = new QPlainTextEdit(this);
    preview_->setObjectName(ImportForm::kPreview);
    preview_->setReadOnly(true);
    preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    preview_->setMinimumSize(520, 220);
    layout->addWidget(preview_);

    addOptionGroup({ImportForm::kDayFirst, ImportForm::kMonthFirst});
    addOptionGroup({ImportForm::kDecimalPoint, ImportForm::kDecimalComma});
    addOptionGroup({std::begin(ImportForm::kPriceChoices), std::end(ImportForm::kPriceChoices)});

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (const char* name : {ImportForm::kOk, ImportForm::kCancel}) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, [this, name] { forward(name, false); });
        buttonRow->addWidget(button);
        if (name == ImportForm::kOk) {
            ok_ = button;
            button->setDefault(true);
        }
    }
    layout->addLayout(buttonRow);
    redraw();
}

void ImportFormDialog::addOptionGroup(const std::vector<const char*>& names) {
    // Their own parent, so that they exclude each other and not the other groups' options.
    auto* group = new QWidget(this);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(0, 0, 0, 0);
    for (const char* name : names) {
        auto* option = new QRadioButton(group);
        option->setObjectName(name);
        connect(option, &QRadioButton::clicked, this, [this, name] { forward(name, true); });
        column->addWidget(option);
    }
    layout()->addWidget(group);
}

void ImportFormDialog::forward(const char* control, bool isOption) {
    forwardToForm(*this, model_, control, isOption, [this] { redraw(); });
}

void ImportFormDialog::redraw() {
    for (const ControlState& control : model_.controls()) {
        QWidget* widget = findChild<QWidget*>(QString::fromStdString(control.name));
        const QString text = toDisplayText(control.text);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            edit->setPlainText(text);
        } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
            option->setText(text);
            option->setChecked(control.selected.value_or(false));
            option->setVisible(!text.isEmpty());
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            button->setText(text);
        }
        if (widget != nullptr) {
            widget->setEnabled(control.enabled);
        }
    }
}

void ImportFormDialog::reject() {
    model_.cancelcommand_click();
    QDialog::reject();
}

}  // namespace aurelant
