#pragma once

#include <optional>
#include <type_traits>
#include <utility>

namespace morvane::app {

// While a batch runs, what it works on stays as it was when it began: the
// items, the unchecked set, the rules and the presets. Every operation that
// would change one of them passes through the window's one gate, which
// refuses it (runs nothing) while the batch holds the gate closed; the batch
// therefore ends exactly as if it had held the window up.
class EditGate {
public:
    bool isOpen() const { return open_; }

    // Runs `operation` unless the gate is closed. Returns whether it ran, or
    // for an operation with a result, that result (nothing when refused).
    template <typename Operation>
    auto pass(Operation&& operation) {
        using Result = std::invoke_result_t<Operation>;
        if constexpr (std::is_void_v<Result>) {
            if (open_) {
                std::forward<Operation>(operation)();
            }
            return open_;
        } else {
            return open_ ? std::optional<Result>(std::forward<Operation>(operation)()) : std::nullopt;
        }
    }

    // The batch's side.
    void close() { open_ = false; }
    void open() { open_ = true; }

private:
    bool open_ = true;
};

} // namespace morvane::app
