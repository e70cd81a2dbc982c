#pragma once

#include <QDialog>
#include <memory>

#include "platform/formmodel.h"

namespace aurelant {

// The Qt dialog that draws a form model, chosen by the form's name; nothing for a form that
// has no dialog.
std::unique_ptr<QDialog> makeFormDialog(FormModel& form, QWidget* parent);

// Draws each control of a form on the dialog's child of the same name: labels, text boxes,
// option buttons and buttons take their text, option buttons their choice, all their enabling.
void drawControls(QDialog& dialog, const std::vector<ControlState>& controls);

}  // namespace aurelant
