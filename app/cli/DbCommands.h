#pragma once
// The parts of "db": each takes the arguments after its own name.

#include "ArgParser.h"

namespace QuorvaneCli {

int dbInfo(const ParsedArgs& a);
int dbCheck(const ParsedArgs& a);
int dbUpgrade(const ParsedArgs& a);
int dbCompact(const ParsedArgs& a);
int dbPurgePreviews(const ParsedArgs& a);
int dbUse(const ParsedArgs& a);

} // namespace QuorvaneCli
