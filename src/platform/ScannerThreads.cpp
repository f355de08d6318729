// Scanner backends read the device in a thread of their own and end it, when
// a scan finishes or is cancelled, with pthread_cancel after switching that
// thread to asynchronous cancellation.  A thread stopped that way in the
// middle of an allocation keeps the allocator's lock for ever; its exit then
// blocks on that lock, the backend blocks joining it, and the program hangs
// at the end of a scan.  The executable exports this definition (see
// src/CMakeLists.txt), so the backends loaded at run time call it instead of
// the C library's: every thread keeps deferred cancellation, and a cancel
// takes effect at the thread's next read, write or wait, where it holds no
// lock.
#include <dlfcn.h>
#include <pthread.h>

// Declared as the C library declares it, without noexcept: clang refuses a
// definition that differs from pthread.h's declaration in that.
int pthread_setcanceltype(int type, int* oldtype) {
    using Fn = int (*)(int, int*);
    static const Fn next = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
    if (!next) return 0;
    return next(type == PTHREAD_CANCEL_ASYNCHRONOUS ? PTHREAD_CANCEL_DEFERRED : type, oldtype);
}
