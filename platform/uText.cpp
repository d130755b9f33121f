#include "platform/uText.h"

#include "document/uCodePage.h"

namespace tessora {

QString StoredForm(const QString& text) { return Q(AnsiToUtf8(Utf8ToAnsi(S(text)))); }

} // namespace tessora
