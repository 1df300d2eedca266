#pragma once

#include "engine/core/RenameOperation.h"
#include "engine/transactions/RenameTransaction.h"

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

} // namespace morvane::testing
