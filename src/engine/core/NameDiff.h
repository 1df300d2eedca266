#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A character-by-character comparison of an old and a new name, for
// highlighting what the rules changed. Matching ignores letter case, so a
// letter whose case changed is reported as such rather than as a replacement.
class NameDiff {
public:
    enum class Kind { equal, caseChange, added, removed, replaced };

    struct Span {
        Kind kind;
        std::string old;
        std::string new_;
        bool operator==(const Span&) const = default;
    };

    NameDiff(std::string_view oldName, std::string_view newName);
    explicit NameDiff(std::vector<Span> spans) : spans_(std::move(spans)) {}

    const std::vector<Span>& spans() const { return spans_; }
    // The spans to draw over the old name (no `added`) and the new name (no `removed`).
    std::vector<Span> oldSide() const;
    std::vector<Span> newSide() const;
    bool isUnchanged() const;

    bool operator==(const NameDiff&) const = default;

private:
    std::vector<Span> spans_;
};

} // namespace morvane
