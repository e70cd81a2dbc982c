#include "formdialogs.h"

#include <functional>
#include <map>
#include <string>

#include "dailydatadialog.h"
#include "importformdialog.h"
#include "recalcformdialog.h"
#include "saveasformdialog.h"

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

}  // namespace aurelant
