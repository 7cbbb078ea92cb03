// Windows keeps no mark of who made a route or neighbour entry (its routes
// all read as "network management"), so no entry ever reads as a leftover
// of ours there and a sweep removes nothing: attempts need no lock against
// it.
#include "devicelib/route_leftovers.h"

namespace devicelib {

AttemptLock::AttemptLock(platform::iphelper::IpHelper&) {}

AttemptLock::~AttemptLock() = default;

SweepLock::SweepLock(platform::iphelper::IpHelper&) : m_acquired(true) {}

SweepLock::~SweepLock() = default;

}  // namespace devicelib
