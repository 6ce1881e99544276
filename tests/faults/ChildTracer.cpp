#include "ChildTracer.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace k4812::test {

namespace {

// The calls that change what is on disk.
const int kFileCalls[] = {
    SYS_write,  SYS_pwrite64, SYS_writev,    SYS_pwritev,   SYS_pwritev2, SYS_fsync,  SYS_fdatasync,
    SYS_rename, SYS_renameat, SYS_renameat2, SYS_ftruncate, SYS_truncate, SYS_unlink, SYS_unlinkat,
    SYS_link,   SYS_linkat,   SYS_fallocate,
};

// In the child, before exec: stop at the file calls for the tracer, allow everything else.
[[noreturn]] void execTraced(const std::vector<QByteArray>& argv)
{
    std::vector<sock_filter> filter = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    const auto count = std::size(kFileCalls);
    for (std::size_t i = 0; i < count; ++i) {
        // Equal: jump over the remaining tests and the allow to the trace.
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, std::uint32_t(kFileCalls[i]),
                                  std::uint8_t(count - i), 0));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRACE));
    sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};

    const int devNull = ::open("/dev/null", O_WRONLY);
    ::dup2(devNull, 1);
    ::dup2(devNull, 2);
    ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    ::raise(SIGSTOP);   // the tracer sets its options here
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0
        || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
        ::_exit(126);
    std::vector<char*> pointers;
    for (const QByteArray& a : argv)
        pointers.push_back(const_cast<char*>(a.constData()));
    pointers.push_back(nullptr);
    ::execv(pointers[0], pointers.data());
    ::_exit(127);
}

} // namespace

TracedRun runAndKillAtFileCall(const QString& program, const QStringList& arguments, int killAt)
{
    std::vector<QByteArray> argv{QFile::encodeName(program)};
    for (const QString& a : arguments)
        argv.push_back(a.toLocal8Bit());

    TracedRun run;
    const pid_t child = ::fork();
    if (child == 0)
        execTraced(argv);
    if (child < 0)
        return run;

    int status = 0;
    ::waitpid(child, &status, 0);   // the SIGSTOP before the filter
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr,
             PTRACE_O_TRACESECCOMP | PTRACE_O_TRACECLONE | PTRACE_O_EXITKILL);
    ::ptrace(PTRACE_CONT, child, nullptr, nullptr);

    for (;;) {
        const pid_t tid = ::waitpid(-1, &status, __WALL);
        if (tid < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            if (tid != child)
                continue;   // one of its threads ended
            if (WIFEXITED(status))
                run.exitStatus = WEXITSTATUS(status);
            break;
        }
        if (!WIFSTOPPED(status))
            continue;
        const int event = status >> 16;
        int signal = 0;
        if (event == PTRACE_EVENT_SECCOMP) {
            ++run.fileCalls;
            if (run.fileCalls == killAt) {
                ::kill(child, SIGKILL);
                run.killed = true;
            }
        } else if (event == 0 && WSTOPSIG(status) != SIGSTOP && WSTOPSIG(status) != SIGTRAP) {
            signal = WSTOPSIG(status);   // a real signal: deliver it
        }
        ::ptrace(PTRACE_CONT, tid, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
    }
    return run;
}

} // namespace k4812::test
