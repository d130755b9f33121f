#pragma once
// Bridges between the document's UTF-8 strings, Windows-1252 and QString.
#include <QString>
#include <string>

namespace tessora {

inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string S(const QString& q) { return q.toStdString(); }
// What a string becomes once stored in a record: characters outside Windows-1252 read '?'.
QString StoredForm(const QString& text);

} // namespace tessora
