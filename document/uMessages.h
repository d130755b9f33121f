#pragma once
// The program's message boxes go through one pluggable handler: message
// boxes in the designer, stderr in tessora-cli, a scripted recorder in tests.
#include <deque>
#include <string>
#include <vector>

namespace tessora {

enum TMsgButton : int { mbNone = 0, mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };

class TMessageHandler {
public:
    virtual ~TMessageHandler() = default;
    // An information box with its single button (Yes unless the caller names another).
    virtual void Information(const std::string& text) = 0;
    // The same with the button named; handlers that show no button keep the default.
    virtual void Information(const std::string& text, TMsgButton button) {
        (void)button;
        Information(text);
    }
    // A question offering `buttons` (a set of TMsgButton); returns the one chosen.
    virtual TMsgButton Confirm(const std::string& text, int buttons) = 0;
};

void Information(const std::string& text);
// An information box whose single button is `button` (mbYes or mbOK).
void Information(const std::string& text, TMsgButton button);
TMsgButton Confirm(const std::string& text, int buttons);

// Installs a handler (not owned); nullptr restores the stderr handler.
void SetMessageHandler(TMessageHandler* handler);
TMessageHandler* CurrentMessageHandler();

// Writes every message to stderr and answers questions with the first of
// Yes, OK offered, else the last button offered.
class TStderrMessages : public TMessageHandler {
public:
    using TMessageHandler::Information;
    void Information(const std::string& text) override;
    TMsgButton Confirm(const std::string& text, int buttons) override;
};

// Records every message and answers questions from a script.
class TScriptedMessages : public TMessageHandler {
public:
    struct Entry {
        std::string Text;
        int Buttons;                   // mbNone for an information box
        TMsgButton InfoButton = mbYes; // the single button of an information box
    };
    std::vector<Entry> Shown;
    std::deque<TMsgButton> Answers; // used in order; empty gives mbCancel or mbNo
    void Information(const std::string& text) override;
    void Information(const std::string& text, TMsgButton button) override;
    TMsgButton Confirm(const std::string& text, int buttons) override;
    std::vector<std::string> Texts() const;
};

// Installs a handler for the lifetime of the object.
class TMessageScope {
public:
    explicit TMessageScope(TMessageHandler& h) : Prev(CurrentMessageHandler()) { SetMessageHandler(&h); }
    ~TMessageScope() { SetMessageHandler(Prev); }
    TMessageScope(const TMessageScope&) = delete;
    TMessageScope& operator=(const TMessageScope&) = delete;

private:
    TMessageHandler* Prev;
};

} // namespace tessora
