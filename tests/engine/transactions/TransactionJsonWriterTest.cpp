#include "engine/transactions/TransactionJsonWriter.h"

#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>

namespace morvane {
namespace {

using Operation = RenameTransaction::Operation;
using State = Operation::State;
using Outcome = RenameTransaction::Outcome;
using namespace std::string_literals;

// What the history wrote before it had its own writer: the JSON document, dumped.
std::string documentDump(const RenameTransaction& transaction) {
    return nlohmann::json(transaction).dump(2, ' ', false, nlohmann::json::error_handler_t::strict) + "\n";
}

std::string refusal(const std::function<std::string()>& write) {
    try {
        write();
    } catch (const nlohmann::json::exception& error) {
        return error.what();
    }
    return "";
}

RenameTransaction bare() {
    RenameTransaction transaction;
    transaction.id = *Uuid::parse("0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0ff");
    transaction.date = testing::secondsSinceEpoch(1796454909) + std::chrono::milliseconds(999);
    transaction.directory = "/home/me/Fotos";
    return transaction;
}

// Names that the dump escapes or must copy byte for byte.
const std::vector<std::string> kTrickyTexts = {
    "",
    "say \"cheese\"",
    "C:\\photos\\",
    "a/b//c/",
    "\x01\x02\x03\x04\x05\x06\x07\b\t\n\x0b\f\r\x0e\x0f"
    "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f",
    "nul \0 inside"s,
    "del \x7f",
    "a\u00f1o \u201cb\u201d \u2028 \U0001F600",
    "\xef\xbf\xbe noncharacter, \xf4\x8f\xbf\xbf last code point",
    "mixed \"/\\\n\u00e9\t",
};

// `special` at each position of a longer name: names are scanned a word of
// eight bytes at a time, and then byte by byte.
std::vector<std::string> atEveryPosition(const std::string& special) {
    std::vector<std::string> names;
    for (std::size_t position = 0; position <= 16; ++position) {
        names.push_back(std::string("abcdefghijklmnop").insert(position, special));
    }
    return names;
}

TEST(TransactionJsonWriter, WritesTheSameTextAsTheDocumentDump) {
    struct Case {
        const char* name;
        RenameTransaction transaction;
    };
    std::vector<Case> cases;

    cases.push_back({"no optionals and no operations", bare()});

    RenameTransaction everything = bare();
    everything.presetName = "Fotos";
    everything.failure = "\u201cb\u201d already exists";
    everything.outcome = Outcome::rollbackFailed;
    everything.operations = {
        Operation{"1", "/home/me/Fotos", "a", "b", true, State::pending, "why", true},
        Operation{"2", "/home/me/Fotos", "c", "d", false, State::done, std::nullopt, true},
        Operation{"3", "/home/me/Fotos", "e", "f", true, State::failed, "\u201cf\u201d exists", false},
        Operation{"4", "/home/me/Fotos", "g", "h", false, State::notRun, std::nullopt, false},
        Operation{"5", "/home/me/Fotos", "i", "j", false, State::rolledBack, "", false},
    };
    cases.push_back({"every optional, state and flag", everything});

    RenameTransaction tricky = bare();
    tricky.outcome = Outcome::rolledBack;
    for (const std::string& text : kTrickyTexts) {
        tricky.operations.push_back(Operation{text, text, text, text, false, State::done, text, false});
    }
    cases.push_back({"tricky names in every operation field", tricky});
    RenameTransaction positions = bare();
    for (const std::string& special : {"\""s, "\\"s, "\x1f"s, "\0"s, "\x7f"s, "\u00e9"s, "\U0001F600"s}) {
        for (const std::string& name : atEveryPosition(special)) {
            positions.operations.push_back(
                Operation{"1", "/d", "a", name, false, State::done, std::nullopt, false});
        }
    }
    cases.push_back({"escapes at every position of a name", positions});
    for (const std::string& text : kTrickyTexts) {
        RenameTransaction inHeader = bare();
        inHeader.directory = text;
        inHeader.presetName = text;
        inHeader.failure = text;
        inHeader.operations = {Operation{"1", text, "a", "b", false, State::done, std::nullopt, false}};
        cases.push_back({"tricky names in the transaction's fields", inHeader});
    }

    for (const Case& c : cases) {
        EXPECT_EQ(TransactionJsonWriter::write(c.transaction), documentDump(c.transaction)) << c.name;
    }
}

TEST(TransactionJsonWriter, RefusesTextThatIsNotUtf8AsTheDumpDoes) {
    struct Case {
        const char* name;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"Latin-1", "caf\xe9"},
        {"lone continuation byte", "a\x80z"},
        {"overlong slash", "\xc0\xaf"},
        {"overlong three bytes", "\xe0\x80\xaf"},
        {"surrogate", "\xed\xa0\x80"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80"},
        {"byte never used", "\xf5\x80\x80\x80"},
        {"truncated at the end", "ab\xe2\x80"},
        {"next to a quote", "\"\xff\""},
    };
    using Setter = void (*)(RenameTransaction&, const std::string&);
    const std::vector<std::pair<const char*, Setter>> fields = {
        {"to", [](RenameTransaction& t, const std::string& text) { t.operations[0].to = text; }},
        {"message", [](RenameTransaction& t, const std::string& text) { t.operations[0].message = text; }},
        {"failure", [](RenameTransaction& t, const std::string& text) { t.failure = text; }},
        {"presetName", [](RenameTransaction& t, const std::string& text) { t.presetName = text; }},
    };
    for (const Case& c : cases) {
        for (const auto& [field, set] : fields) {
            RenameTransaction transaction = bare();
            transaction.operations = {
                Operation{"1", "/d", "a", "b", false, State::failed, std::nullopt, false}};
            set(transaction, c.text);
            const std::string expected = refusal([&] { return documentDump(transaction); });
            ASSERT_NE(expected, "") << c.name;
            EXPECT_EQ(refusal([&] { return TransactionJsonWriter::write(transaction); }), expected)
                << c.name << " in " << field;
        }
    }

    for (const std::string& name : atEveryPosition("\xe9")) {
        RenameTransaction transaction = bare();
        transaction.operations = {Operation{"1", "/d", "a", name, false, State::done, std::nullopt, false}};
        const std::string expected = refusal([&] { return documentDump(transaction); });
        ASSERT_NE(expected, "") << name;
        EXPECT_EQ(refusal([&] { return TransactionJsonWriter::write(transaction); }), expected) << name;
    }

    // The dump reports the first bad text in key order.
    RenameTransaction twice = bare();
    twice.presetName = "last \xff";
    twice.operations = {Operation{"1", "/d", "from \xfe", "b", false, State::done, std::nullopt, false}};
    EXPECT_EQ(refusal([&] { return TransactionJsonWriter::write(twice); }),
              "[json.exception.type_error.316] invalid UTF-8 byte at index 5: 0xFE");
}

} // namespace
} // namespace morvane
