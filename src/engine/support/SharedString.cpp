#include "engine/support/SharedString.h"

#include <ostream>
#include <utility>

namespace morvane {

SharedString::SharedString(std::string text) {
    if (!text.empty()) {
        block_ = new Block{{1}, std::move(text)};
    }
}

SharedString::SharedString(const SharedString& other) noexcept : block_(other.block_) {
    if (block_ != nullptr) {
        block_->references.fetch_add(1, std::memory_order_relaxed);
    }
}

SharedString::SharedString(SharedString&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}

SharedString& SharedString::operator=(const SharedString& other) noexcept {
    if (block_ != other.block_) {
        SharedString copy(other);
        std::swap(block_, copy.block_);
    }
    return *this;
}

SharedString& SharedString::operator=(SharedString&& other) noexcept {
    if (this != &other) {
        release();
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

SharedString::~SharedString() {
    release();
}

void SharedString::release() noexcept {
    if (block_ != nullptr && block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete block_;
    }
    block_ = nullptr;
}

const std::string& SharedString::str() const noexcept {
    static const std::string empty;
    return block_ != nullptr ? block_->text : empty;
}

std::ostream& operator<<(std::ostream& out, const SharedString& text) {
    return out << text.str();
}

} // namespace morvane
