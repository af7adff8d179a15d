#pragma once

#include <string_view>

namespace tarvex {

/**
 * Progress and cancellation of a long run (mesh generation, solution). The run reports a status
 * text and a percentage at its checkpoints and asks whether to go on; the answer also gives the
 * caller the chance to handle pending user events (the GUI pumps its event queue there, the batch
 * tool prints to stderr). A run that is told to stop leaves the previous results in place.
 */
class Progress {
public:
    virtual ~Progress() = default;
    virtual void status(std::string_view text) = 0;
    virtual void percent(int value) = 0;
    /// False when the user asked to stop.
    virtual bool goOn() = 0;
};

/// For callers that want neither reports nor interruption.
class NoProgress final : public Progress {
public:
    void status(std::string_view) override { }
    void percent(int) override { }
    bool goOn() override { return true; }
};

} // namespace tarvex
