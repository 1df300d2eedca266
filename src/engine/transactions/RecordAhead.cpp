#include "engine/transactions/RecordAhead.h"

namespace morvane {

RecordAhead::RecordAhead(std::string path, std::string temporary, const RenameTransaction& transaction,
                         TransactionJsonWriter::Expectation expectation)
    : path_(std::move(path)), temporary_(std::move(temporary)),
      putBack_(expectation.putBack.begin(), expectation.putBack.end()) {
    expectation.putBack = putBack_;
    thread_ = std::thread([this, &transaction, expectation] {
        try {
            file_.emplace(path_, temporary_);
            TransactionJsonWriter::write(transaction, expectation,
                                         [this](std::string_view piece) { file_->append(piece); });
            file_->flush();
        } catch (...) {
            error_ = std::current_exception();
        }
    });
}

RecordAhead::~RecordAhead() {
    abandon();
}

void RecordAhead::wait() noexcept {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void RecordAhead::commit() {
    wait();
    if (error_) {
        file_.reset();
        std::rethrow_exception(error_);
    }
    file_->commit();
    file_.reset();
}

void RecordAhead::abandon() noexcept {
    wait();
    file_.reset(); // removes the file unless it was committed
}

} // namespace morvane
