// The JSON writer, read back by the tests' parser: nesting, commas, escapes, numbers.

#include <gtest/gtest.h>

#include "engine/text/JsonWriter.h"
#include "testing/JsonValue.h"

namespace trevo {
namespace {

TEST(JsonWriter, NestedValuesReadBackAsWritten) {
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("empty").BeginArray().EndArray();
    json.Key("list").BeginArray().Integer(-1).Number("2.5e-3").Bool(true).Null().EndArray();
    json.Key("text").String("Łódź \"cudzysłów\" \\ \n\t\x01\x7F/");
    json.Key("objects").BeginArray();
    json.BeginObject().Key("a").Integer(1).EndObject();
    json.BeginObject().EndObject();
    json.EndArray();
    json.EndObject();

    EXPECT_EQ(out.find('\n'), std::string::npos);  // control characters are escaped
    const auto value = testing::ParseJson(out);
    ASSERT_TRUE(value) << out;
    EXPECT_EQ((*value)["empty"].kind, testing::JsonValue::Kind::Array);
    EXPECT_TRUE((*value)["empty"].items.empty());
    ASSERT_EQ((*value)["list"].items.size(), 4u);
    EXPECT_EQ((*value)["list"][0].Integer(), -1);
    EXPECT_EQ((*value)["list"][1].Number(), 2.5e-3);
    EXPECT_TRUE((*value)["list"][2].boolean);
    EXPECT_EQ((*value)["list"][3].kind, testing::JsonValue::Kind::Null);
    EXPECT_EQ((*value)["text"].text, "Łódź \"cudzysłów\" \\ \n\t\x01\x7F/");
    EXPECT_EQ((*value)["objects"][0]["a"].Integer(), 1);
    EXPECT_TRUE((*value)["objects"][1].keys.empty());
}

TEST(TestParsers, RejectWhatIsNotJsonAndSplitCsvWithQuotes) {
    for (const char* bad : {"", "{", "[1,]", "{\"a\":}", "01", "1.", "\"\x01\"", "[1] 2", "tru"}) {
        EXPECT_FALSE(testing::ParseJson(bad)) << bad;
    }
    const auto rows = testing::ParseCsv("a,b\r\n\"x,y\",\"say \"\"hi\"\"\"\n,\"two\nlines\"\n");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 3u);
    EXPECT_EQ((*rows)[1], (std::vector<std::string>{"x,y", "say \"hi\""}));
    EXPECT_EQ((*rows)[2], (std::vector<std::string>{"", "two\nlines"}));
    EXPECT_FALSE(testing::ParseCsv("\"open"));
}

}  // namespace
}  // namespace trevo
