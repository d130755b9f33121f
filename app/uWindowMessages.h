#pragma once
// The designer's message handler: standard message boxes with exactly the buttons asked.
#include "document/uMessages.h"

#include <QString>

class QMessageBox;
class QWidget;

namespace tessora {

class TWindowMessages : public TMessageHandler {
public:
    void Information(const std::string& text) override;
    void Information(const std::string& text, TMsgButton button) override;
    TMsgButton Confirm(const std::string& text, int buttons) override;
};

// The title of the program's windows and message boxes.
inline constexpr const char* kAppTitle = "Corvane Tessora";

} // namespace tessora
