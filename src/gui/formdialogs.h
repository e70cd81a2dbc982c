#pragma once

#include <QDialog>
#include <memory>

#include "platform/formmodel.h"

namespace aurelant {

// The Qt dialog that draws a form model, chosen by the form's name; nothing for a form that
// has no dialog.
std::unique_ptr<QDialog> makeFormDialog(FormModel& form, QWidget* parent);

}  // namespace aurelant
