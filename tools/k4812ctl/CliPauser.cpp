#include "CliPauser.h"

namespace k4812::cli {

namespace {

Pauser*& replacement()
{
    static Pauser* pauser = nullptr;
    return pauser;
}

} // namespace

Pauser& cliPauser()
{
    static SleepingPauser sleeping;
    Pauser* pauser = replacement();
    return pauser != nullptr ? *pauser : sleeping;
}

void setCliPauser(Pauser* pauser)
{
    replacement() = pauser;
}

} // namespace k4812::cli
