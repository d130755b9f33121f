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
    // An information box with its single button.
    virtual void Information(const std::string& text) = 0;
    // A question offering `buttons` (a set of TMsgButton); returns the one chosen.
    virtual TMsgButton Confirm(const std::string& text, int buttons) = 0;
};

void Information(const std::string& text);
TMsgButton Confirm(const std::string& text, int buttons);

// Installs a handler (not owned); nullptr restores the stderr handler.
void SetMessageHandler(TMessageHandler* handler);
TMessageHandler* CurrentMessageHandler();

// Writes every message to stderr and answers questions with the first of
// Yes, OK offered, else the last button offered.
class TStderrMessages : public TMessageHandler {
public:
    void Information(const std::string& text) override;
    TMsgButton Confirm(const std::string& text, int buttons) override;
};

// Records every message and answers questions from a script.
class TScriptedMessages : public TMessageHandler {
public:
    struct Entry {
        std::string Text;
        int Buttons; // mbNone for an information box
    };
    std::vector<Entry> Shown;
    std::deque<TMsgButton> Answers; // used in order; empty gives mbCancel or mbNo
    void Information(const std::string& text) override;
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
