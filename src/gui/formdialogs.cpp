#include "formdialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <map>
#include <string>

#include "dailydatadialog.h"
#include "importformdialog.h"
#include "recalcformdialog.h"
#include "saveasformdialog.h"
#include "textconversion.h"
#include "updateformdialog.h"

namespace aurelant {
namespace {

using DialogMaker = std::function<std::unique_ptr<QDialog>(FormModel&, QWidget*)>;

template <typename Model, typename Dialog>
DialogMaker maker() {
    return [](FormModel& form, QWidget* parent) {
        return std::make_unique<Dialog>(dynamic_cast<Model&>(form), parent);
    };
}

const std::map<std::string, DialogMaker>& dialogMakers() {
    static const std::map<std::string, DialogMaker> makers = {
        {"dailydata", maker<DailyData, DailyDataDialog>()},
        {"importform", maker<import::ImportForm, ImportFormDialog>()},
        {"recalcform", maker<RecalcForm, RecalcFormDialog>()},
        {"saveasform", maker<SaveAsForm, SaveAsFormDialog>()},
        {"updateform", maker<quotes::UpdateForm, UpdateFormDialog>()},
    };
    return makers;
}

}  // namespace

std::unique_ptr<QDialog> makeFormDialog(FormModel& form, QWidget* parent) {
    const auto found = dialogMakers().find(form.name());
    if (found == dialogMakers().end()) {
        return nullptr;
    }
    return found->second(form, parent);
}

void drawControls(QDialog& dialog, const std::vector<ControlState>& controls) {
    for (const ControlState& control : controls) {
        auto* widget = dialog.findChild<QWidget*>(QString::fromStdString(control.name));
        if (widget == nullptr) {
            continue;
        }
        const QString text = toDisplayText(control.text);
        if (auto* option = qobject_cast<QRadioButton*>(widget)) {
            option->setChecked(control.selected.value_or(false));
        }
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            edit->setPlainText(text);
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            box->setText(text);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(text);
        }
        widget->setEnabled(control.enabled);
    }
}

void forwardToForm(QDialog& dialog, FormModel& form, const char* control, bool isOption,
                   const std::function<void()>& redraw) {
    if (isOption) {
        form.choose(control);
    } else {
        form.press(control);
    }
    if (!form.visible()) {
        dialog.accept();
        return;
    }
    redraw();
}

}  // namespace aurelant
