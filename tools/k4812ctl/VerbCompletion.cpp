// k4812ctl completion bash: the shell completion, which the build installs.
// Not in the verb list: it is for the build, not for the user.

#include "BashCompletion.h"
#include "Cli.h"

namespace k4812::cli {

namespace {

int runCompletion(Context& context, const QStringList& args)
{
    if (args != QStringList{QStringLiteral("bash")})
        return context.usageError(QStringLiteral("completion takes the shell's name: bash"));
    context.out() << bashCompletionScript(registeredVerbs());
    return kExitOk;
}

const VerbRegistration registration({
    "completion",
    "k4812ctl completion bash\n"
    "\n"
    "Prints the bash completion of k4812ctl, made from its verbs.",
    nullptr,
    runCompletion,
});

} // namespace

} // namespace k4812::cli
