#include "engine/transactions/TransactionJsonReader.h"

#include "engine/testing/DiskFixtures.h"
#include "engine/transactions/TransactionJsonWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace morvane {
namespace {

using json = nlohmann::json;
using Operation = RenameTransaction::Operation;

// What the history read before it had its own reader: the document, converted.
std::optional<RenameTransaction> byDocument(const std::string& text) {
    try {
        return json::parse(text).get<RenameTransaction>();
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

std::optional<RenameTransaction> byReader(const std::string& text) {
    auto read = TransactionJsonReader::read(text);
    return read ? std::optional(std::move(read->transaction)) : std::nullopt;
}

json recorded() {
    RenameTransaction transaction;
    transaction.id = *Uuid::parse("0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0ff");
    transaction.date = testing::secondsSinceEpoch(1796454909) + std::chrono::milliseconds(250);
    transaction.directory = "/home/me/Fotos";
    transaction.presetName = "Trip";
    transaction.operations = {
        Operation{"/home/me/Fotos/a", "/home/me/Fotos", "a", "b", false, Operation::State::done, std::nullopt,
                  true},
        Operation{"x", "/home/me/Fotos/sub", "c", "d", true, Operation::State::failed, "“c” no longer exists",
                  false},
    };
    transaction.outcome = RenameTransaction::Outcome::rollbackFailed;
    transaction.failure = "“c” no longer exists";
    return json::parse(TransactionJsonWriter::write(transaction));
}

// Every key of the record and of its operations, missing or holding each
// kind of JSON value, and unknown keys, must be accepted or refused by the
// reader exactly as by the document, with the same result.
TEST(TransactionJsonReader, AcceptsExactlyWhatTheDocumentAccepts) {
    const json base = recorded();
    const std::vector<json> values{nullptr,
                                   5,
                                   -1,
                                   2.5,
                                   true,
                                   "x",
                                   json::array(),
                                   json::object(),
                                   json::array({json::object()}),
                                   "2026-12-05T07:15:09Z"};
    std::vector<json> variants{base, json::array(), 5, "text", nullptr};
    for (const auto& [key, value] : base.items()) {
        json without = base;
        without.erase(key);
        variants.push_back(without);
        for (const json& other : values) {
            json changed = base;
            changed[key] = other;
            variants.push_back(changed);
        }
    }
    for (const auto& [key, value] : base["operations"][1].items()) {
        json without = base;
        without["operations"][1].erase(key);
        variants.push_back(without);
        for (const json& other : values) {
            json changed = base;
            changed["operations"][1][key] = other;
            variants.push_back(changed);
        }
    }
    for (const json& other : values) {
        json element = base;
        element["operations"].push_back(other);
        variants.push_back(element);
        json unknown = base;
        unknown["zzz"] = other;
        unknown["operations"][0]["zzz"] = json::array({other, json::object({{"id", other}})});
        variants.push_back(unknown);
    }
    for (const char* state : {"pending", "notRun", "rolledBack", "Done", ""}) {
        json changed = base;
        changed["operations"][0]["state"] = state;
        variants.push_back(changed);
    }
    for (const char* precise : {"2026-12-05T07:15:09.123456789Z", "2026-12-05T07:15:10.000000000Z",
                                "2026-12-05T07:15:09.12345678Z", "garbage"}) {
        json changed = base;
        changed["preciseDate"] = precise;
        variants.push_back(changed);
    }
    for (const json& variant : variants) {
        const std::string text = variant.dump();
        EXPECT_EQ(byReader(text), byDocument(text)) << text;
    }
}

// Records as the history writes them are read without the parser; whatever
// their names hold, and whichever optional keys they have, the result is the
// document's. Bytes the writer never writes (a raw control character, a
// surrogate, a broken sequence) are refused as the document refuses them.
TEST(TransactionJsonReader, RecordsAsTheHistoryWritesThemReadAsTheDocumentDoes) {
    const std::vector<std::string> names{"plain.txt",
                                         "say \"cheese\"",
                                         "C:\\photos\\",
                                         "tab\there",
                                         "a\u00f1o \u201cb\u201d \u2028 \U0001F600",
                                         "\xef\xbf\xbe noncharacter",
                                         "del \x7f",
                                         ""};
    const auto transaction = recorded().get<RenameTransaction>();
    for (const std::string& name : names) {
        for (const bool optionals : {false, true}) {
            RenameTransaction variant = transaction;
            variant.operations[0].to = name;
            variant.operations[1].message = optionals ? std::optional<std::string>(name) : std::nullopt;
            variant.presetName = optionals ? std::optional<std::string>(name) : std::nullopt;
            variant.failure = optionals ? std::optional<std::string>(name) : std::nullopt;
            const std::string text = TransactionJsonWriter::write(variant);
            const auto read = byReader(text);
            ASSERT_EQ(read, byDocument(text)) << text;
            EXPECT_EQ(read, variant);
        }
    }
    RenameTransaction empty = transaction;
    empty.operations.clear();
    EXPECT_EQ(byReader(TransactionJsonWriter::write(empty)), empty);

    const std::string written = TransactionJsonWriter::write(transaction);
    for (const char* bytes : {"\x01", "\xed\xa0\x80", "\xc3", "\xff"}) {
        std::string text = written;
        text.replace(text.find("\"to\": \"b\"") + 7, 1, bytes);
        EXPECT_EQ(byReader(text), byDocument(text)) << text;
        EXPECT_EQ(byReader(text), std::nullopt);
    }
}

TEST(TransactionJsonReader, AKeyGivenTwiceCountsWithItsLastValue) {
    std::string text = recorded().dump();
    const auto insertAfter = [&](std::string_view marker, std::string_view extra) {
        text.insert(text.find(marker) + 1, extra);
    };
    insertAfter("{", R"("outcome": 7, "directory": "/first", )");
    insertAfter(R"({"directory")", R"("from": "z", "message": "first", "message": null, )");
    text.insert(text.rfind('}'), R"(, "presetName": null, "operations": [])");
    const auto read = byReader(text);
    ASSERT_EQ(read, byDocument(text)) << text;
    EXPECT_EQ(read->directory, "/home/me/Fotos");
    EXPECT_EQ(read->presetName, std::nullopt);
    EXPECT_TRUE(read->operations.empty());

    std::string operations = recorded().dump();
    operations.insert(operations.find(R"("from")"), R"("from": 3, )");
    EXPECT_EQ(byReader(operations), byDocument(operations)) << "a wrong type refuses even when given again";
}

} // namespace
} // namespace morvane
