#include "tools/snmp/change_watch.h"

namespace r40snmp {

std::vector<Notice> ChangeWatch::Changes(const r40ctl::exporter::TableSnapshot& snapshot) {
    std::vector<Notice> notices;
    std::map<r40ctl::Mac, Seen> now;
    for (const r40ctl::exporter::ReceiverView& r : snapshot.receivers) {
        const auto tell = [&](NoticeKind kind) {
            notices.push_back({kind, r.mac, r.address, r.type});
        };
        const bool heardLocked = r.heard && r.reading.locked;
        const auto before = m_seen.find(r.mac);
        if (before == m_seen.end()) {
            now[r.mac] = {r.up, r.heard, heardLocked, r.lockLosses};
            continue;
        }
        Seen seen = before->second;
        // An expected receiver heard for the first time: its lock is no change.
        if (!seen.heard && r.heard) seen = {seen.up, true, heardLocked, r.lockLosses};
        if (seen.up != r.up) tell(r.up ? NoticeKind::ReceiverBack : NoticeKind::ReceiverSilent);
        seen.up = r.up;
        // The table counts every loss it hears, also between two snapshots
        // and while the receiver went unheard for a moment: a loss told
        // here is a loss the operator can count in r40ReceiverLockLosses.
        if (r.lockLosses > seen.lockLosses) {
            if (!seen.locked) tell(NoticeKind::LockRegained);  // regained and lost unseen
            tell(NoticeKind::LockLost);
            seen.locked = false;
        }
        seen.lockLosses = r.lockLosses;
        if (r.up && heardLocked && !seen.locked) {
            tell(NoticeKind::LockRegained);
            seen.locked = true;
        }
        now[r.mac] = seen;
    }
    // Forgotten receivers leave; one heard again later is new.
    m_seen = std::move(now);
    return notices;
}

}  // namespace r40snmp
