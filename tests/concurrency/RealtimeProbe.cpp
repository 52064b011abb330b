#include "RealtimeProbe.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMASPAN_PROBE_HOOKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define LUMASPAN_PROBE_HOOKS 0
#endif
#endif
#ifndef LUMASPAN_PROBE_HOOKS
#define LUMASPAN_PROBE_HOOKS 1
#endif

namespace
{
// Plain thread-local counters: the hooks must neither allocate nor lock.
thread_local bool probing = false;
thread_local realtimeprobe::Counts current;
} // namespace

namespace realtimeprobe
{
bool available() { return LUMASPAN_PROBE_HOOKS != 0; }

Scope::Scope()
{
    current = {};
    probing = true;
}

Scope::~Scope() { probing = false; }

Counts Scope::counts() const { return current; }
} // namespace realtimeprobe

#if LUMASPAN_PROBE_HOOKS

#include <malloc.h>
#include <pthread.h>

extern "C"
{
    void* __libc_malloc (size_t);
    void* __libc_calloc (size_t, size_t);
    void* __libc_realloc (void*, size_t);
    void* __libc_memalign (size_t, size_t);
    void __libc_free (void*);

    // glibc's own entry points behind the public lock functions.
    int realPthreadMutexLock (pthread_mutex_t*);
    int realPthreadMutexTrylock (pthread_mutex_t*);
    int realPthreadRwlockRdlock (pthread_rwlock_t*);
    int realPthreadRwlockWrlock (pthread_rwlock_t*);
    __asm__(".symver realPthreadMutexLock, __pthread_mutex_lock@GLIBC_2.2.5");
    __asm__(".symver realPthreadMutexTrylock, __pthread_mutex_trylock@GLIBC_2.2.5");
    __asm__(".symver realPthreadRwlockRdlock, __pthread_rwlock_rdlock@GLIBC_2.2.5");
    __asm__(".symver realPthreadRwlockWrlock, __pthread_rwlock_wrlock@GLIBC_2.2.5");
}

namespace
{
inline void countAllocation()
{
    if (probing)
        ++current.allocations;
}

inline void countDeallocation()
{
    if (probing)
        ++current.deallocations;
}

inline void countLock()
{
    if (probing)
        ++current.locks;
}
} // namespace

extern "C"
{
    void* malloc (size_t size) noexcept
    {
        countAllocation();
        return __libc_malloc (size);
    }

    void* calloc (size_t count, size_t size) noexcept
    {
        countAllocation();
        return __libc_calloc (count, size);
    }

    void* realloc (void* pointer, size_t size) noexcept
    {
        countAllocation();
        return __libc_realloc (pointer, size);
    }

    void* memalign (size_t alignment, size_t size) noexcept
    {
        countAllocation();
        return __libc_memalign (alignment, size);
    }

    void* aligned_alloc (size_t alignment, size_t size) noexcept
    {
        countAllocation();
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** out, size_t alignment, size_t size) noexcept
    {
        countAllocation();
        *out = __libc_memalign (alignment, size);
        return *out != nullptr || size == 0 ? 0 : 12;
    }

    void free (void* pointer) noexcept
    {
        if (pointer != nullptr)
            countDeallocation();
        __libc_free (pointer);
    }

    int pthread_mutex_lock (pthread_mutex_t* m) noexcept
    {
        countLock();
        return realPthreadMutexLock (m);
    }

    int pthread_mutex_trylock (pthread_mutex_t* m) noexcept
    {
        countLock();
        return realPthreadMutexTrylock (m);
    }

    int pthread_rwlock_rdlock (pthread_rwlock_t* l) noexcept
    {
        countLock();
        return realPthreadRwlockRdlock (l);
    }

    int pthread_rwlock_wrlock (pthread_rwlock_t* l) noexcept
    {
        countLock();
        return realPthreadRwlockWrlock (l);
    }
}

void* operator new (std::size_t size)
{
    countAllocation();
    if (void* p = __libc_malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* operator new[] (std::size_t size) { return operator new (size); }

void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    countAllocation();
    return __libc_malloc (size == 0 ? 1 : size);
}

void* operator new[] (std::size_t size, const std::nothrow_t& tag) noexcept { return operator new (size, tag); }

void* operator new (std::size_t size, std::align_val_t alignment)
{
    countAllocation();
    if (void* p = __libc_memalign ((size_t) alignment, size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* operator new[] (std::size_t size, std::align_val_t alignment) { return operator new (size, alignment); }

void operator delete (void* p) noexcept
{
    if (p != nullptr)
        countDeallocation();
    __libc_free (p);
}

void operator delete[] (void* p) noexcept { operator delete (p); }
void operator delete (void* p, std::size_t) noexcept { operator delete (p); }
void operator delete[] (void* p, std::size_t) noexcept { operator delete (p); }
void operator delete (void* p, std::align_val_t) noexcept { operator delete (p); }
void operator delete[] (void* p, std::align_val_t) noexcept { operator delete (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept { operator delete (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { operator delete (p); }
void operator delete (void* p, const std::nothrow_t&) noexcept { operator delete (p); }
void operator delete[] (void* p, const std::nothrow_t&) noexcept { operator delete (p); }

#endif
