#pragma once

#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "FakeHidraw.h"
#include "device/TraceTransport.h"
#include "device/sim/SimulatedMouse.h"
#include "model/ProfileRecord.h"

namespace zavrin::test {

// The simulated mouse behind fake hidraw nodes: each plugged connection shows
// as the kernel would show it, its status collection and its feature collection
// on two nodes (one per USB interface) or as two top-level collections of one
// node. Feature transfers go to the simulated mouse; its status reports are
// pumped into the node that carries the status collection.
class SimHidrawBridge {
public:
    enum class Layout { TwoNodes, OneNode };

    // The report descriptors of the mouse's two collections.
    static std::vector<std::uint8_t> statusCollection();
    static std::vector<std::uint8_t> featureCollection(bool withPairingReport);

    SimHidrawBridge(SimulatedMouse& mouse, Layout layout);
    ~SimHidrawBridge();

    // Plugs or unplugs the kind in the simulated mouse and shows or removes its nodes.
    void plug(ConnectionKind kind);
    void unplug(ConnectionKind kind);

    // Records every feature report the mouse is given, as it arrived at the
    // node (what the program's own trace cannot prove).
    void traceDeviceSide(std::shared_ptr<HidTraceWriter> trace) { trace_ = std::move(trace); }

    int statusNode(ConnectionKind kind) const;
    int featureNode(ConnectionKind kind) const;

private:
    struct Connection;
    static int setFeature(void* context, const std::uint8_t* report, std::size_t length);
    static int getFeature(void* context, std::uint8_t* buffer, std::size_t length);
    void removeNodes(Connection& c);

    SimulatedMouse& mouse_;
    Layout layout_;
    std::shared_ptr<HidTraceWriter> trace_;
    std::map<ConnectionKind, std::unique_ptr<Connection>> connections_;
};

// An unrelated device (a keyboard) on node `number`, answering no feature report.
void addForeignNode(int number);

// Gives `profile` two macro buttons and a lighting effect, and writes it to
// `profileFile` and its macros to the library `libraryFile`: an apply pass
// that carries settings, lighting and a macro upload.
bool writeMacroProfileFiles(ProfileRecord& profile, const std::filesystem::path& profileFile,
                            const std::filesystem::path& libraryFile);

}  // namespace zavrin::test
