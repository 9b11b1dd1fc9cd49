// Linked into the test programs of the ThreadSanitizer build only.
//
// Qt starts a child process with clone(CLONE_VM | CLONE_VFORK): until it
// calls exec, the child runs in the parent's memory. The sanitizer's runtime
// keeps its state in that memory, and the child's way through the runtime
// (its clone handling, the interceptors of close and execve) rewrites the
// state of the parent's thread; the runtime then aborts inside itself
// ("CHECK failed"). The runtime turns vfork() into fork() for the same
// reason; this does the same for Qt's clone(): the child gets its own copy
// of the memory, and the runtime's clone handling sees an ordinary fork.

#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

// The runtime's own clone(), which this definition of clone() replaces.
extern "C" int __interceptor_clone(int (*fn)(void *), void *stack, int flags, void *arg, pid_t *parentTid,
                                   void *tls, pid_t *childTid);

extern "C" int clone(int (*fn)(void *), void *stack, int flags, void *arg, ...) noexcept
{
    va_list rest;
    va_start(rest, arg);
    auto *parentTid = va_arg(rest, pid_t *);
    auto *tls = va_arg(rest, void *);
    auto *childTid = va_arg(rest, pid_t *);
    va_end(rest);
    if ((flags & CLONE_VM) && (flags & CLONE_VFORK))
        flags &= ~(CLONE_VM | CLONE_VFORK);
    return __interceptor_clone(fn, stack, flags, arg, parentTid, tls, childTid);
}
