#include "dailydatadialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace aurelant {
namespace {

QLabel* namedLabel(const NamedCaption& label, QWidget* parent) {
    auto* widget = new QLabel(QString::fromUtf8(label.caption), parent);
    widget->setObjectName(label.name);
    return widget;
}

}  // namespace

DailyDataDialog::DailyDataDialog(DailyData& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(QString::fromStdString(model.caption()));

    auto* grid = new QGridLayout;
    grid->addWidget(namedLabel(DailyData::kHeading, this), 0, 0, 1, DailyData::kFields + 1,
                    Qt::AlignHCenter);
    for (int field = 0; field < DailyData::kFields; ++field) {
        grid->addWidget(namedLabel(DailyData::kFieldLabels[field], this), 1, field + 1,
                        Qt::AlignHCenter);
    }
    for (int day = 1; day <= DailyData::kDays; ++day) {
        grid->addWidget(namedLabel(DailyData::kDayLabels[day - 1], this), day + 1, 0);
        for (int field = 0; field < DailyData::kFields; ++field) {
            const std::string name = DailyData::boxName(day, field);
            auto* box = new QLineEdit(this);
            box->setObjectName(QString::fromStdString(name));
            grid->addWidget(box, day + 1, field + 1);
            boxes_[name] = box;
        }
    }

    prompt_ = new QLabel(this);
    prompt_->setObjectName(DailyData::kPrompt);
    prompt_->setWordWrap(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (const NamedCaption& button : DailyData::kButtons) {
        auto* widget = new QPushButton(QString::fromUtf8(button.caption), this);
        widget->setObjectName(button.name);
        widget->setAutoDefault(false);  // Enter in a box must not press a button by surprise
        connect(widget, &QPushButton::clicked, this, [this, name = button.name] { press(name); });
        buttonRow->addWidget(widget);
        buttons_[button.name] = widget;
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(prompt_);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    refresh();
    focusEntry();
}

// In the entry modes the user types into the day-5 row and ends with the enabled action, which
// Enter then presses; viewing only offers Cancel.
void DailyDataDialog::focusEntry() {
    for (const char* action : {"predictcommand", "savecommand"}) {
        if (model_.buttonEnabled(action)) {
            buttons_.at(action)->setDefault(true);
            boxes_.at(DailyData::boxName(DailyData::kDays, 1))->setFocus();
            return;
        }
    }
    buttons_.at("cancelcommand")->setFocus();
}

void DailyDataDialog::press(const std::string& button) {
    for (const auto& [name, box] : boxes_) {
        model_.setText(name, box->text().toStdString());
    }
    model_.press(button);
    refresh();
    if (!model_.visible()) {
        accept();
    }
}

void DailyDataDialog::reject() {
    model_.hide();
    QDialog::reject();
}

void DailyDataDialog::refresh() {
    for (int day = 1; day <= DailyData::kDays; ++day) {
        for (int field = 0; field < DailyData::kFields; ++field) {
            const QString text = QString::fromStdString(model_.boxText(day, field));
            QLineEdit* box = boxes_.at(DailyData::boxName(day, field));
            if (box->text() != text) {
                box->setText(text);
            }
        }
    }
    prompt_->setText(QString::fromStdString(model_.prompt()));
    for (const auto& [name, button] : buttons_) {
        button->setEnabled(model_.buttonEnabled(name));
    }
}

}  // namespace aurelant
