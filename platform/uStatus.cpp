#include "platform/uStatus.h"

#include <cstdio>

namespace tessora {

namespace {
TStatusWindow gSilent;
TStatusWindow* gStatus = &gSilent;
} // namespace

TStatusWindow& Status() { return *gStatus; }
void SetStatusWindow(TStatusWindow* w) { gStatus = w ? w : &gSilent; }

void TStderrStatus::SetLine1(const std::string& t) { std::fprintf(stderr, "%s\n", t.c_str()); }
void TStderrStatus::SetLine2(const std::string& t) { std::fprintf(stderr, "  %s\n", t.c_str()); }

} // namespace tessora
