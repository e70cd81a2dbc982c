#include "recalcformdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <vector>

namespace aurelant {
namespace {

constexpr double kTwipsPerPixel = 15;  // at 96 dots per inch

// A run of blanks in a caption pushes what follows onto the label's next line. Qt lets blanks
// hang past the edge instead, so the run becomes a line break.
QString labelText(const std::string& caption) {
    return QString::fromStdString(caption).replace(QRegularExpression(" {2,}"), "\n");
}

}  // namespace

RecalcFormDialog::RecalcFormDialog(RecalcForm& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(QString::fromStdString(model.caption()));
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const RecalcForm::Control& control : RecalcForm::layout()) {
        QWidget* widget = addControl(control);
        widget->setObjectName(QString::fromStdString(control.name));
        widgets_[control.name] = widget;
        if (control.kind != RecalcForm::Kind::Label) {
            tabOrder.emplace_back(control.tabIndex, widget);
        }
    }
    placeControls();
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
    tabOrder.front().second->setFocus();
    refresh();
}

// The layout was drawn for a narrow 8-point font; a wider one stretches the whole layout until
// every caption that keeps its lines fits its place.
double RecalcFormDialog::stretch() const {
    double scale = 1;
    for (const RecalcForm::Control& control : RecalcForm::layout()) {
        const QWidget* widget = widgets_.at(control.name);
        int needed = 0;
        if (control.kind == RecalcForm::Kind::Option) {
            needed = widget->sizeHint().width();
        } else if (control.kind == RecalcForm::Kind::Label && !control.wraps) {
            for (const QString& line : labelText(control.caption).split('\n')) {
                needed = std::max(needed, widget->fontMetrics().horizontalAdvance(line));
            }
        }
        scale = std::max(scale, needed * kTwipsPerPixel / control.width);
    }
    return scale;
}

void RecalcFormDialog::placeControls() {
    const double pixelsPerTwip = stretch() / kTwipsPerPixel;
    const auto pixels = [pixelsPerTwip](int twips) {
        return static_cast<int>(std::lround(twips * pixelsPerTwip));
    };
    for (const RecalcForm::Control& control : RecalcForm::layout()) {
        widgets_.at(control.name)
            ->setGeometry(pixels(control.left), pixels(control.top), pixels(control.width),
                          pixels(control.height));
    }
    setFixedSize(pixels(RecalcForm::kWidth), pixels(RecalcForm::kHeight));
}

QWidget* RecalcFormDialog::addControl(const RecalcForm::Control& control) {
    const QString caption = QString::fromStdString(control.caption);
    switch (control.kind) {
        case RecalcForm::Kind::Label: {
            auto* label = new QLabel(labelText(control.caption), this);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case RecalcForm::Kind::TextBox:
            return new QLineEdit(this);
        case RecalcForm::Kind::Option:
            return new QRadioButton(caption, this);
        case RecalcForm::Kind::Button:
            break;
    }
    auto* button = new QPushButton(caption, this);
    // Enter re-predicts from the price boxes; Cancel needs its own click.
    button->setAutoDefault(false);
    button->setDefault(control.name == "recalccommand");
    connect(button, &QPushButton::clicked, this, [this, name = control.name] { press(name); });
    return button;
}

void RecalcFormDialog::press(const std::string& button) {
    for (const auto& [name, widget] : widgets_) {
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            model_.setText(name, box->text().toStdString());
        } else if (auto* option = qobject_cast<QRadioButton*>(widget);
                   option && option->isChecked()) {
            model_.choose(name);
        }
    }
    model_.press(button);
    refresh();
    if (!model_.visible()) {
        accept();
    }
}

void RecalcFormDialog::reject() {
    model_.cancelcommand_click();
    QDialog::reject();
}

void RecalcFormDialog::refresh() {
    for (const ControlState& control : model_.controls()) {
        QWidget* widget = widgets_.at(control.name);
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            const QString text = QString::fromStdString(control.text);
            if (box->text() != text) {
                box->setText(text);
            }
        } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
            option->setChecked(control.selected.value_or(false));
        }
    }
}

}  // namespace aurelant
