// The lines a dry run and a verification print on standard output, one per
// file, in a stable format that scripts may read (documented in setup(1)):
// a keyword, a blank, the path below the template directory with every
// control byte, blank, DEL and "%" written "%XX". The words are never
// translated; the people's texts go to the front end.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/RunSummary.h"

// Takes each line, without its "\n", as it is made: a run over many files
// never holds them all.
using LineSink = std::function<void(std::string_view line)>;

// "create P", "replace P", "up-to-date P", "keep-aside P K" (the user's
// version kept as K), "keep-edited P", "remove P", in that order, then
// "total create=N replace=N up-to-date=N keep-aside=N keep-edited=N remove=N
// bytes-written=B bytes-removed=B".
void DryRunLines(const RunSummary& summary, const LineSink& sink);
// "missing P", "changed P" (content), "time P", "new P" (a file the kit now
// ships that is not there), in the order found.
void VerifyLines(const RunSummary& summary, const LineSink& sink);
