#pragma once
// The waits of the verbs that send timed sequences. The tool sleeps; tests
// that run verbs in-process put a recording pauser in its place, so they
// never sleep.

#include "sequences/Pauser.h"

namespace k4812::cli {

Pauser& cliPauser();
// Replaces the pauser until called again; nullptr restores sleeping.
void setCliPauser(Pauser* pauser);

} // namespace k4812::cli
