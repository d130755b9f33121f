#include "document/uMessages.h"

#include <cstdio>

namespace tessora {

namespace {
TStderrMessages gStderr;
TMessageHandler* gHandler = &gStderr;
} // namespace

void Information(const std::string& text) { gHandler->Information(text); }
void Information(const std::string& text, TMsgButton button) { gHandler->Information(text, button); }
TMsgButton Confirm(const std::string& text, int buttons) { return gHandler->Confirm(text, buttons); }
void SetMessageHandler(TMessageHandler* handler) { gHandler = handler ? handler : &gStderr; }
TMessageHandler* CurrentMessageHandler() { return gHandler; }

void TStderrMessages::Information(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

TMsgButton TStderrMessages::Confirm(const std::string& text, int buttons) {
    TMsgButton answer = (buttons & mbYes) ? mbYes : (buttons & mbOK) ? mbOK : (buttons & mbCancel) ? mbCancel : mbNo;
    std::fprintf(stderr, "%s\n", text.c_str());
    return answer;
}

void TScriptedMessages::Information(const std::string& text) { Shown.push_back({text, mbNone}); }
void TScriptedMessages::Information(const std::string& text, TMsgButton button) {
    Shown.push_back({text, mbNone, button});
}

TMsgButton TScriptedMessages::Confirm(const std::string& text, int buttons) {
    Shown.push_back({text, buttons});
    if (!Answers.empty()) {
        TMsgButton a = Answers.front();
        Answers.pop_front();
        return a;
    }
    return (buttons & mbCancel) ? mbCancel : mbNo;
}

std::vector<std::string> TScriptedMessages::Texts() const {
    std::vector<std::string> t;
    for (const auto& e : Shown) t.push_back(e.Text);
    return t;
}

} // namespace tessora
