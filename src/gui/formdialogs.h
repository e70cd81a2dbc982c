#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "platform/formmodel.h"

namespace aurelant {

// The Qt dialog that draws a form model, chosen by the form's name; nothing for a form that
// has no dialog.
std::unique_ptr<QDialog> makeFormDialog(FormModel& form, QWidget* parent);

// Draws each control of a form on the dialog's child of the same name: labels, text boxes,
// option buttons and buttons take their text, option buttons their choice, all their enabling.
void drawControls(QDialog& dialog, const std::vector<ControlState>& controls);

// Hands a press or an option choice to the form, then closes the dialog as accepted when the
// form has hidden itself, or else redraws it.
void forwardToForm(QDialog& dialog, FormModel& form, const char* control, bool isOption,
                   const std::function<void()>& redraw);

}  // namespace aurelant
