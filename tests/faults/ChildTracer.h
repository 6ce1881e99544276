#pragma once
// Runs a program as a traced child and kills it at an exact point: just
// before its N-th call that changes a file (a write, a flush to disk, a
// rename, a truncation, a removal), in any of its threads. A seccomp filter
// makes only those calls stop the child, so the rest runs at full speed and
// the same N always stops it at the same call.

#include <QString>
#include <QStringList>

namespace k4812::test {

struct TracedRun {
    bool killed = false;    // stopped at the asked call
    int exitStatus = -1;    // when it ran to its end
    int fileCalls = 0;      // file-changing calls it reached (all of them when not killed)
};

// Runs `program` with `arguments` (its output to /dev/null) and sends
// SIGKILL just before its `killAt`-th file-changing call (1-based; 0 never
// kills). The environment is the test's own.
TracedRun runAndKillAtFileCall(const QString& program, const QStringList& arguments, int killAt);

} // namespace k4812::test
