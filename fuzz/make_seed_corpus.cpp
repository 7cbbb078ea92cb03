// Writes the seed corpus of the fuzz harnesses from the receiver emulator:
// valid status datagrams of every model, table replies, PID lists, the tune
// command's echo. Run from the source tree's root after a change to the
// protocol:  build-fuzz/bin/make_seed_corpus fuzz/corpus
// (the configuration seeds are kept by hand).
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "devicelib/devicelib.h"
#include "fuzz/fuzz_support.h"
#include "sim/receiver_commands.h"
#include "sim/status_datagram.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The order of the status harness's model byte.
constexpr sim::Model STATUS_MODELS[] = {sim::Model::T22V2,  sim::Model::T22V3, sim::Model::R40,
                                        sim::Model::Trevan, sim::Model::T22CA, sim::Model::R40V};

void Write(const fs::path& directory, const std::string& name, const Bytes& bytes) {
    fs::create_directories(directory);
    std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes Prefixed(std::uint8_t first, const Bytes& rest) {
    Bytes bytes{first};
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

// A receiver of the model with the seed MAC address, a few PIDs in its table
// and, for the second variant, no lock and IGMP on.
sim::ReceiverState State(sim::Model model, bool variant) {
    sim::ReceiverState state = sim::DefaultState(model, {127, 0, 0, 1});
    std::copy(fuzz::SEED_MAC.begin(), fuzz::SEED_MAC.end(), state.mac.begin());
    state.pids[0] = sim::PidEntry::Make(0x31, 1, {239, 0, 0, 1}, 5000);
    state.pids[1] = sim::PidEntry::Make(0x44, 0, {239, 0, 0, 2}, 5001);
    state.pids[3] = sim::PidEntry::Make(0x1FFE, 1);
    if (variant) {
        state.atsc.locked = false;
        state.satellite.locked = false;
        state.optionFlags = sim::OPTION_IGMP_BIT;
        state.channel = 69;
    }
    return state;
}

template <class Record>
Bytes RecordBytes(std::int8_t n, const Record& record) {
    Bytes bytes{static_cast<std::uint8_t>(n)};
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&record);
    bytes.insert(bytes.end(), raw, raw + sizeof record);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = argc > 1 ? argv[1] : "fuzz/corpus";
    for (std::uint8_t i = 0; i < std::size(STATUS_MODELS); ++i) {
        const sim::Model model = STATUS_MODELS[i];
        const std::string key(sim::TraitsOf(model).key);
        for (const bool variant : {false, true}) {
            const Bytes datagram = sim::BuildStatusDatagram(model, State(model, variant));
            const std::string name = key + (variant ? "-unlocked" : "");
            Write(root / "status_datagram", name, Prefixed(i, datagram));
            Write(root / "discovery_datagram", name, datagram);
            Write(root / "exporter_datagram", name,
                  Prefixed(static_cast<std::uint8_t>(20 + i), datagram));
        }
        const Bytes reply = sim::BuildTableReply(model, State(model, false));
        const std::uint8_t form =
            sim::TraitsOf(model).pidEntries == 16 ? 0 : (model == sim::Model::T22V2 ? 1 : 2);
        Write(root / "table_reply", key, Prefixed(form, reply));
    }

    PidListRecord standard{};
    for (int i = 0; i < MAX_PIDS; ++i) standard.pid[i] = NULL_PID;
    standard.pid[0] = 0x31;
    standard.pid[2] = 0x44;
    standard.control[0] = 1;
    standard.count = 3;
    Write(root / "pid_list", "standard", RecordBytes(16, standard));
    TrevanPidListRecord forwarding{};
    for (int i = 0; i < MAX_PIDS; ++i) forwarding.pid[i] = NULL_PID;
    forwarding.pid[1] = 0x100;
    forwarding.control[1] = 1;
    const std::uint8_t destination[4] = {239, 0, 0, 9};
    std::memcpy(forwarding.destination[1].address, destination, 4);
    forwarding.destination[1].port = 5004;
    forwarding.count = 2;
    Write(root / "pid_list", "forwarding", RecordBytes(32, forwarding));

    Write(root / "echo_reply", "echo", {0x00, 0x1E, 0x00, 0x00, 0x00, 0x00});
    Write(root / "echo_reply", "other-channel", {0x00, 0x1F, 0x00, 0x00, 0x00, 0x00});
    return 0;
}
