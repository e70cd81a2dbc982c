#pragma once

#include <optional>
#include <string>
#include <vector>

// The model of a modal window: its controls' state and its event handlers. The Qt dialog and
// the scenario runner both drive a form through this interface.
namespace aurelant {

struct ControlState {
    std::string name;
    std::string text;
    bool enabled = true;
    std::optional<bool> selected;  // option buttons only
};

class FormModel {
  public:
    virtual ~FormModel() = default;

    virtual std::string name() const = 0;
    virtual std::string caption() const = 0;
    virtual std::vector<ControlState> controls() const = 0;

    // The user's actions; each returns false when the form has no such control. A form without
    // text boxes keeps the first.
    virtual bool setText(const std::string& /*control*/, const std::string& /*text*/) {
        return false;
    }
    virtual bool choose(const std::string& control) = 0;
    virtual bool press(const std::string& control) = 0;

    bool visible() const { return visible_; }
    void show() { visible_ = true; }
    void hide() { visible_ = false; }

  private:
    bool visible_ = false;
};

}  // namespace aurelant
