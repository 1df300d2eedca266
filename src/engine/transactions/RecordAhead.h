#pragma once

#include "engine/filesystem/AtomicFile.h"
#include "engine/transactions/RenameTransaction.h"
#include "engine/transactions/TransactionJsonWriter.h"

#include <exception>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace morvane {

// A batch's history record, written and flushed on a thread of its own while
// the batch's moves run, as it will read if the batch ends as expected; at
// the end, only its putting in place is left. The transaction must outlive
// this object, and meanwhile the batch may change nothing of it but what the
// expectation covers (see TransactionJsonWriter::Expectation).
class RecordAhead {
public:
    // Written to `temporary` (which must not exist), to replace `path`.
    RecordAhead(std::string path, std::string temporary, const RenameTransaction& transaction,
                TransactionJsonWriter::Expectation expectation);
    // Waits for the thread, and leaves no file behind unless committed.
    ~RecordAhead();
    RecordAhead(const RecordAhead&) = delete;
    RecordAhead& operator=(const RecordAhead&) = delete;

    // Waits for the record to be written and flushed, then puts it in place
    // of `path`. Throws what writing it threw (std::system_error,
    // nlohmann::json::exception).
    void commit();
    // Waits, and throws the record away.
    void abandon() noexcept;

private:
    void wait() noexcept;

    std::string path_;
    std::string temporary_;
    std::vector<std::size_t> putBack_; // the expectation's, owned here
    std::optional<AtomicFile> file_;
    std::exception_ptr error_;
    std::thread thread_;
};

} // namespace morvane
