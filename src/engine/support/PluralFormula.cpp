#include "engine/support/PluralFormula.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace morvane {

// A recursive-descent reader of the formula, with C's precedence: ?: below
// ||, below &&, below == !=, below < <= > >=, below + -, below * / %, below !.
// Every binary operator is left-associative, as in C.
class PluralFormulaParser {
public:
    using Node = PluralFormula::Node;
    using Op = Node::Op;

    PluralFormulaParser(std::string_view text, std::vector<Node>& nodes) : text_(text), nodes_(nodes) {}

    // The root node of the whole text, or -1 when it is not one expression.
    int parseAll() {
        const int root = choice();
        skipSpace();
        return failed_ || at_ != text_.size() ? -1 : root;
    }

private:
    void skipSpace() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])) != 0) {
            ++at_;
        }
    }

    bool take(std::string_view token) {
        skipSpace();
        if (text_.substr(at_).starts_with(token)) {
            at_ += token.size();
            return true;
        }
        return false;
    }

    // Takes `token` unless it is the start of "!=".
    bool takeAlone(std::string_view token) {
        skipSpace();
        const std::size_t after = at_ + token.size();
        if (!text_.substr(at_).starts_with(token) || (after < text_.size() && text_[after] == '=')) {
            return false;
        }
        at_ = after;
        return true;
    }

    int node(Op op, int first = -1, int second = -1, int third = -1, std::uint64_t value = 0) {
        nodes_.push_back(Node{op, value, first, second, third});
        return static_cast<int>(nodes_.size()) - 1;
    }

    int fail() {
        failed_ = true;
        return -1;
    }

    int choice() {
        const int condition = binary();
        if (failed_ || !take("?")) {
            return condition;
        }
        const int yes = choice();
        if (failed_ || !take(":")) {
            return fail();
        }
        const int no = choice();
        return node(Op::choose, condition, yes, no);
    }

    // The binary operators, loosest first; within a level, longer tokens first.
    static constexpr std::array<std::array<std::pair<std::string_view, Op>, 4>, 6> kLevels{{
        {{{"||", Op::either}}},
        {{{"&&", Op::both}}},
        {{{"==", Op::equal}, {"!=", Op::notEqual}}},
        {{{"<=", Op::lessEqual}, {">=", Op::greaterEqual}, {"<", Op::less}, {">", Op::greater}}},
        {{{"+", Op::add}, {"-", Op::subtract}}},
        {{{"*", Op::multiply}, {"/", Op::divide}, {"%", Op::remainder}}},
    }};

    // The operands joined by the operators of `level` and tighter ones, left to right.
    int binary(std::size_t level = 0) {
        if (level == kLevels.size()) {
            return unary();
        }
        int left = binary(level + 1);
        for (;;) {
            const auto& operators = kLevels[level];
            const auto found = std::find_if(operators.begin(), operators.end(), [this](const auto& entry) {
                return !entry.first.empty() && take(entry.first);
            });
            if (failed_ || found == operators.end()) {
                return left;
            }
            left = node(found->second, left, binary(level + 1));
        }
    }

    int unary() {
        if (takeAlone("!")) {
            return node(Op::negate, unary());
        }
        return primary();
    }

    int primary() {
        skipSpace();
        if (take("(")) {
            const int inner = choice();
            return take(")") ? inner : fail();
        }
        if (take("n")) {
            return node(Op::n);
        }
        if (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])) != 0) {
            std::uint64_t value = 0;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])) != 0) {
                value = value * 10 + static_cast<std::uint64_t>(text_[at_++] - '0');
            }
            return node(Op::number, -1, -1, -1, value);
        }
        return fail();
    }

    std::string_view text_;
    std::vector<Node>& nodes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

namespace {

// The text after "name=" up to the next ";" (or the end).
std::optional<std::string_view> field(std::string_view header, std::string_view name) {
    std::size_t at = 0;
    while ((at = header.find(name, at)) != std::string_view::npos) {
        std::size_t after = at + name.size();
        while (after < header.size() && header[after] == ' ') {
            ++after;
        }
        const bool startsWord = at == 0 || header[at - 1] == ' ' || header[at - 1] == ';';
        if (startsWord && after < header.size() && header[after] == '=') {
            const std::size_t end = header.find(';', after + 1);
            return header.substr(after + 1, end == std::string_view::npos ? end : end - after - 1);
        }
        at = after;
    }
    return std::nullopt;
}

} // namespace

PluralFormula::PluralFormula() {
    // n != 1
    nodes_ = {Node{Node::Op::n}, Node{Node::Op::number, 1}, Node{Node::Op::notEqual, 0, 0, 1}};
    root_ = 2;
}

std::optional<PluralFormula> PluralFormula::parse(std::string_view header) {
    const auto count = field(header, "nplurals");
    const auto formula = field(header, "plural");
    if (!count || !formula) {
        return std::nullopt;
    }
    std::size_t forms = 0;
    bool anyDigit = false;
    for (const char c : *count) {
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            forms = forms * 10 + static_cast<std::size_t>(c - '0');
            anyDigit = true;
        } else if (c != ' ') {
            return std::nullopt;
        }
    }
    if (!anyDigit || forms == 0 || forms > 16) {
        return std::nullopt;
    }
    PluralFormula result;
    result.nodes_.clear();
    result.root_ = PluralFormulaParser(*formula, result.nodes_).parseAll();
    if (result.root_ < 0) {
        return std::nullopt;
    }
    result.formCount_ = forms;
    return result;
}

std::size_t PluralFormula::formFor(std::uint64_t n) const {
    const std::uint64_t form = evaluate(root_, n);
    return form < formCount_ ? static_cast<std::size_t>(form) : 0;
}

std::uint64_t PluralFormula::evaluate(int index, std::uint64_t n) const {
    const Node& node = nodes_[static_cast<std::size_t>(index)];
    const auto at = [&](int child) { return evaluate(child, n); };
    switch (node.op) {
    case Node::Op::number:
        return node.value;
    case Node::Op::n:
        return n;
    case Node::Op::negate:
        return at(node.first) == 0 ? 1 : 0;
    case Node::Op::choose:
        return at(node.first) != 0 ? at(node.second) : at(node.third);
    case Node::Op::both:
        return at(node.first) != 0 && at(node.second) != 0 ? 1 : 0;
    case Node::Op::either:
        return at(node.first) != 0 || at(node.second) != 0 ? 1 : 0;
    default:
        break;
    }
    const std::uint64_t a = at(node.first);
    const std::uint64_t b = at(node.second);
    switch (node.op) {
    case Node::Op::multiply:
        return a * b;
    case Node::Op::divide:
        return b == 0 ? 0 : a / b;
    case Node::Op::remainder:
        return b == 0 ? 0 : a % b;
    case Node::Op::add:
        return a + b;
    case Node::Op::subtract:
        return a - b;
    case Node::Op::less:
        return a < b ? 1 : 0;
    case Node::Op::lessEqual:
        return a <= b ? 1 : 0;
    case Node::Op::greater:
        return a > b ? 1 : 0;
    case Node::Op::greaterEqual:
        return a >= b ? 1 : 0;
    case Node::Op::equal:
        return a == b ? 1 : 0;
    case Node::Op::notEqual:
        return a != b ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace morvane
