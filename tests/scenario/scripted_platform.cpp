#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

// Transcript names of the enumerations, in the order of their values.
template <typename Enum, std::size_t Count>
std::string nameOf(Enum value, const char* const (&names)[Count]) {
    return names[static_cast<std::size_t>(value)];
}
constexpr const char* kButtons[] = {"ok", "okcancel", "yesno"};
constexpr const char* kIcons[] = {"none", "information", "question", "exclamation"};
constexpr const char* kAnswers[] = {"ok", "cancel", "yes", "no"};

bool fits(Buttons buttons, Answer answer) {
    if (buttons == Buttons::OkCancel) {
        return answer == Answer::Ok || answer == Answer::Cancel;
    }
    return buttons == Buttons::YesNo ? answer == Answer::Yes || answer == Answer::No
                                     : answer == Answer::Ok;
}

}  // namespace

std::string quoted(const std::string& text) {
    static const std::map<char, std::string> escapes = {
        {'\t', "\\t"}, {'\r', "\\r"}, {'\n', "\\n"}, {'\\', "\\\\"}, {'"', "\\\""}};
    std::string out = "\"";
    for (char c : text) {
        const auto escape = escapes.find(c);
        out += escape == escapes.end() ? std::string(1, c) : escape->second;
    }
    return out + "\"";
}

std::vector<std::string> describeForm(const FormModel& form) {
    std::vector<std::string> lines;
    for (const ControlState& control : form.controls()) {
        std::string line = "form " + form.name() + " " + control.name +
                           " text=" + quoted(control.text) +
                           " enabled=" + (control.enabled ? "yes" : "no");
        if (control.selected) {
            line += std::string(" selected=") + (*control.selected ? "yes" : "no");
        }
        lines.push_back(line);
    }
    return lines;
}

Answer ScriptedPlatform::message(const MessageRequest& request) {
    Answer answer = Answer::Ok;
    if (request.buttons != Buttons::Ok) {
        if (answers.empty()) {
            throw ScriptError("a question with no queued answer: " + quoted(request.text));
        }
        answer = answers.front();
        answers.pop_front();
        if (!fits(request.buttons, answer)) {
            throw ScriptError("the answer " + nameOf(answer, kAnswers) +
                              " does not fit the question " + quoted(request.text));
        }
    }
    transcript.push_back("message caption=" + quoted(request.caption) +
                         " buttons=" + nameOf(request.buttons, kButtons) +
                         " icon=" + nameOf(request.icon, kIcons) +
                         " default=" + std::to_string(request.defaultButton) +
                         " text=" + quoted(request.text) + " -> " + nameOf(answer, kAnswers));
    return answer;
}

std::optional<std::string> ScriptedPlatform::askFile(const FileRequest& request) {
    if (fileAnswers.empty()) {
        throw ScriptError("a file dialog with no queued answer: " + quoted(request.title));
    }
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    transcript.push_back(
        std::string("filedialog ") + (request.mode == FileRequest::Mode::Save ? "save" : "open") +
        " title=" + quoted(request.title) + " filter=" + quoted(request.filter) +
        " index=" + std::to_string(request.filterIndex) +
        " initial=" + quoted(request.initialName) + " defext=" + quoted(request.defaultSuffix) +
        " overwrite=" + (request.overwritePrompt ? "yes" : "no") + " -> " +
        (answer ? quoted(*answer) : "cancel"));
    return answer;
}

void ScriptedPlatform::setClipboardText(const std::string& text) {
    clipboard = text;
    transcript.push_back("clipboard " + quoted(text));
}

PrintOutcome ScriptedPlatform::print(const PrintJob& job) {
    PrintOutcome outcome;
    if (!printOutcomes.empty()) {
        outcome = printOutcomes.front();
        printOutcomes.pop_front();
    }
    if (outcome.kind == PrintOutcome::Kind::Cancelled) {
        transcript.push_back("print cancelled");
        return outcome;
    }
    if (outcome.kind == PrintOutcome::Kind::Failed) {
        transcript.push_back("print failed " + quoted(outcome.failure));
        return outcome;
    }
    transcript.push_back("print size=" + std::to_string(job.fontSize) +
                         " lines=" + std::to_string(job.lines.size()));
    for (const std::string& line : job.lines) {
        transcript.push_back("| " + line);
    }
    if (!job.picture.empty()) {
        transcript.push_back(job.landscape ? "print picture landscape" : "print picture");
    }
    return outcome;
}

void ScriptedPlatform::showModal(FormModel& form) {
    form.show();
    transcript.push_back("form " + form.name() + " shown");
    std::deque<FormAction>& queue = formActions[form.name()];
    while (form.visible()) {
        if (queue.empty()) {
            throw ScriptError("the form " + form.name() + " is still shown and no action is left");
        }
        const FormAction action = queue.front();
        queue.pop_front();
        runFormAction(form, action);
    }
    transcript.push_back("form " + form.name() + " hidden");
}

void ScriptedPlatform::runFormAction(FormModel& form, const FormAction& action) {
    bool known = true;
    switch (action.kind) {
        case FormAction::Kind::Set:
            known = form.setText(action.control, action.text);
            break;
        case FormAction::Kind::Choose:
            known = form.choose(action.control);
            break;
        case FormAction::Kind::Press:
            known = form.press(action.control);
            break;
        case FormAction::Kind::Show:
            for (const std::string& line : describeForm(form)) {
                transcript.push_back(line);
            }
            break;
    }
    if (!known) {
        throw ScriptError("the form " + form.name() + " has no control " + action.control);
    }
}

void ScriptedPlatform::showViewer() {
    transcript.push_back("viewer address=" + quoted(viewerAddress ? *viewerAddress : ""));
}

void ScriptedPlatform::setBusy(bool busy) {
    transcript.push_back(busy ? "busy on" : "busy off");
}

}  // namespace aurelant
