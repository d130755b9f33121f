#pragma once
// The commands of tessora-cli. Each gets its own arguments (after the command
// name) and returns the exit code: 0 done, 1 failed, 2 usage error.
#include "document/uMessages.h"

#include <QStringList>

namespace tessora::cli {

int CmdInfo(const QStringList& args);
int CmdConvert(const QStringList& args);
int CmdRender(const QStringList& args);
int CmdPdf(const QStringList& args);
int CmdBarcode(const QStringList& args);
int CmdCatalogue(const QStringList& args);

// Prints "tessora-cli: <text>" and the usage to stderr; returns 2.
int UsageError(const QString& text);
// Prints the program's failure to stderr; returns 1.
int Failure(const QString& text);
// The program's messages recorded during the command as its failure, or `fallback` when it
// showed none; returns 1.
int MessagesFailure(const TScriptedMessages& msgs, const QString& fallback);

} // namespace tessora::cli
