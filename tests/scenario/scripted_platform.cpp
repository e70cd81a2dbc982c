#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

std::string buttonsName(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return "okcancel";
        case Buttons::YesNo:
            return "yesno";
        case Buttons::Ok:
            break;
    }
    return "ok";
}

std::string iconName(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return "information";
        case Icon::Question:
            return "question";
        case Icon::Exclamation:
            return "exclamation";
        case Icon::None:
            break;
    }
    return "none";
}

std::string answerName(Answer answer) {
    switch (answer) {
        case Answer::Cancel:
            return "cancel";
        case Answer::Yes:
            return "yes";
        case Answer::No:
            return "no";
        case Answer::Ok:
            break;
    }
    return "ok";
}

bool fits(Buttons buttons, Answer answer) {
    switch (buttons) {
        case Buttons::OkCancel:
            return answer == Answer::Ok || answer == Answer::Cancel;
        case Buttons::YesNo:
            return answer == Answer::Yes || answer == Answer::No;
        case Buttons::Ok:
            break;
    }
    return answer == Answer::Ok;
}

}  // namespace

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            default:
                out += c;
        }
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
            throw ScriptError("the answer " + answerName(answer) + " does not fit the question " +
                              quoted(request.text));
        }
    }
    transcript.push_back(
        "message caption=" + quoted(request.caption) + " buttons=" + buttonsName(request.buttons) +
        " icon=" + iconName(request.icon) + " default=" + std::to_string(request.defaultButton) +
        " text=" + quoted(request.text) + " -> " + answerName(answer));
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

void ScriptedPlatform::print(const PrintJob& job) {
    transcript.push_back("print size=" + std::to_string(job.fontSize) +
                         " lines=" + std::to_string(job.lines.size()));
    for (const std::string& line : job.lines) {
        transcript.push_back("| " + line);
    }
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
