#pragma once

// Counts heap calls and lock calls made by the current thread while a probe
// scope is open. The hooks live in RealtimeProbe.cpp; they are compiled only
// into builds without a sanitizer (sanitizers bring their own allocator and
// lock interceptors).
namespace realtimeprobe
{
struct Counts
{
    long allocations = 0;
    long deallocations = 0;
    long locks = 0;
};

bool available();

class Scope
{
public:
    Scope();
    ~Scope();
    Counts counts() const;

    Scope (const Scope&) = delete;
    Scope& operator= (const Scope&) = delete;
};
} // namespace realtimeprobe
