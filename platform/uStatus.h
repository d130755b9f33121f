#pragma once
// The program's status window: two lines of text shown during long work. The designer
// installs its pop-up; tessora-cli prints the lines on stderr when asked; by default
// nothing is shown.
#include <string>

namespace tessora {

class TStatusWindow {
public:
    virtual ~TStatusWindow() = default;
    virtual void Show() {}
    virtual void Hide() {}
    virtual void SetLine1(const std::string&) {}
    virtual void SetLine2(const std::string&) {}
};

TStatusWindow& Status();
// Installs a status window (not owned); nullptr restores the silent one.
void SetStatusWindow(TStatusWindow* w);

// Prints every line to stderr.
class TStderrStatus : public TStatusWindow {
public:
    void SetLine1(const std::string& t) override;
    void SetLine2(const std::string& t) override;
};

// Shows the status window for the lifetime of the object.
class TStatusScope {
public:
    explicit TStatusScope(const std::string& line1) {
        Status().Show();
        Status().SetLine1(line1);
    }
    ~TStatusScope() { Status().Hide(); }
    TStatusScope(const TStatusScope&) = delete;
    TStatusScope& operator=(const TStatusScope&) = delete;
};

} // namespace tessora
