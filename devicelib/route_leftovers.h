// Host routes and neighbour entries left by a process killed in the middle
// of a network-settings attempt.
//
// What the library adds carries OWN_ENTRY_PROTOCOL and exists only while an
// attempt runs; each attempt holds a shared lock on a file of its network
// namespace for as long as its entries may exist. Entries of ours found when
// the exclusive lock can be had belong to no running attempt: a killed
// process left them, and they are removed. The lock dies with its process.
#pragma once

#include <string>

#include "platform/iphelper/ip_helper.h"

namespace devicelib {

// Held by an attempt while its entries may exist. Waits while a sweep runs
// (milliseconds). Where no lock file can be opened, it holds nothing; nor
// for tables other than the system's (in memory, gone with the process).
class AttemptLock {
  public:
    explicit AttemptLock(platform::iphelper::IpHelper& helper);
    ~AttemptLock();
    AttemptLock(const AttemptLock&) = delete;
    AttemptLock& operator=(const AttemptLock&) = delete;

  private:
    int m_fd = -1;
};

// Held by a sweep for leftovers: taken only when no attempt holds its lock
// (then Acquired()), or when there is no lock file to ask.
class SweepLock {
  public:
    explicit SweepLock(platform::iphelper::IpHelper& helper);
    ~SweepLock();
    SweepLock(const SweepLock&) = delete;
    SweepLock& operator=(const SweepLock&) = delete;

    bool Acquired() const { return m_acquired; }

  private:
    int m_fd = -1;
    bool m_acquired = false;
};

// Removes every host route and neighbour entry of ours when no attempt holds
// its lock in this thread's network namespace; nothing while one does.
// Entries of anyone else are never touched. Returns how many were removed.
int RemoveLeftoverEntries(platform::iphelper::IpHelper& helper);

#ifndef _WIN32
// The lock file of this thread's network namespace: in /run/lock, or the
// temporary directory where that is missing.
std::string AttemptLockPath();
#endif

}  // namespace devicelib
