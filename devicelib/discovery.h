#pragma once

#include "devicelib/devicelib.h"

namespace devicelib {

// How a pass treats newcomers when the list cannot take them all.
struct DiscoveryRules {
    // Receivers the caller knows (its previous list), or null: each is
    // listed when heard, whatever the per-source share or a full list.
    const DeviceList* known = nullptr;
    // A full list ends the pass (false), or the ports are read on to count
    // the newcomers left out and to find the known receivers (true).
    bool readOnWhenFull = false;
    // What was heard and not listed; may be null.
    DiscoveryCounts* counts = nullptr;
};

// One discovery pass into the caller's list (about two seconds or more).
void Discover(DeviceList& list, const DiscoveryRules& rules = {});

}  // namespace devicelib
