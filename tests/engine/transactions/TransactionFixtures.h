#pragma once

#include "engine/core/RenameOperation.h"
#include "engine/transactions/BatchControl.h"
#include "engine/transactions/RenameTransaction.h"

#include <functional>
#include <stop_token>
#include <string>
#include <vector>

namespace morvane::testing {

inline RenameOperation renameOf(const std::string& directory, const std::string& from, const std::string& to,
                                bool isDirectory = false) {
    return RenameOperation{FileItem(from, directory, {}, {}, 0, isDirectory, true), from, to};
}

// One letter per operation: p(ending), D(one), F(ailed), N(otRun), R(olledBack).
inline std::string statesOf(const RenameTransaction& transaction) {
    std::string result;
    for (const auto& operation : transaction.operations) {
        result += "pDFNR"[static_cast<int>(operation.state)];
    }
    return result;
}

// Keeps every progress report of a batch, and asks the batch to stop at the
// first report that `stopWhen` accepts. Must outlive the batch.
class ProgressLog {
public:
    explicit ProgressLog(std::function<bool(const BatchProgress&)> stopWhen = nullptr)
        : stopWhen_(std::move(stopWhen)) {}

    BatchControl control() {
        BatchControl control;
        control.stop = stop_.get_token();
        control.progress = [this](const BatchProgress& progress) {
            seen.push_back(progress);
            if (stopWhen_ && stopWhen_(progress)) {
                stop_.request_stop();
            }
        };
        return control;
    }

    std::vector<BatchProgress> seen;

private:
    std::stop_source stop_;
    std::function<bool(const BatchProgress&)> stopWhen_;
};

} // namespace morvane::testing
